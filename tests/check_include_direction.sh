#!/usr/bin/env bash
# The source folders form one stack: api above ui above config and xml, above settings,
# above platform. A file may include from its own folder or from a folder below it, never
# from one above or beside it; an upward include is how a cycle between subsystems starts.
set -euo pipefail
src=${1:?source folder}
declare -A rank=([platform]=0 [settings]=1 [xml]=2 [config]=2 [ui]=3 [api]=4)

status=0
while IFS= read -r file; do
  folder=${file#"$src"/}
  folder=${folder%%/*}
  own=${rank[$folder]:-}
  if [ -z "$own" ]; then
    echo "$file: folder '$folder' has no place in the include order" >&2
    status=1
    continue
  fi
  # Only the project's own folders are ranked: the public header and the resource
  # identifiers may be included from anywhere.
  while IFS= read -r target; do
    other=${rank[${target%%/*}]:-}
    [[ "$target" == */* && -n "$other" ]] || continue
    if [ "$other" -gt "$own" ] || { [ "$other" -eq "$own" ] && [ "${target%%/*}" != "$folder" ]; }; then
      echo "$file includes \"$target\" from a folder above or beside its own" >&2
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

[ "$status" -eq 0 ] && echo "include direction: every include points down"
exit "$status"
