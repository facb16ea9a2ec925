#!/usr/bin/env bash
# The source folders form one stack: api above ui above config and xml, above settings,
# above platform. A file may include from its own folder or from a folder below it, never
# from one above; an upward include is how a cycle between subsystems starts.
set -euo pipefail
src=${1:?source folder}

rank() {
  case "$1" in
    platform) echo 0 ;;
    settings) echo 1 ;;
    xml | config) echo 2 ;;
    ui) echo 3 ;;
    api) echo 4 ;;
    *) echo -1 ;;
  esac
}

status=0
while IFS= read -r file; do
  folder=${file#"$src"/}
  folder=${folder%%/*}
  own=$(rank "$folder")
  if [ "$own" -lt 0 ]; then
    echo "$file: folder '$folder' has no place in the include order" >&2
    status=1
    continue
  fi
  while IFS= read -r target; do
    [ -n "$target" ] || continue
    # Only the project's own folders are ranked: a header outside them (the public header,
    # the resource identifiers) may be included from anywhere.
    [ -d "$src/${target%%/*}" ] || continue
    [[ "$target" == */* ]] || continue
    other=$(rank "${target%%/*}")
    if [ "$other" -gt "$own" ] || { [ "$other" -eq "$own" ] && [ "${target%%/*}" != "$folder" ]; }; then
      echo "$file includes \"$target\" from a folder above or beside its own" >&2
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

[ "$status" -eq 0 ] && echo "include direction: every include points down"
exit "$status"
