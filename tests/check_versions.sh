#!/usr/bin/env bash
# Every binary carries the version resource made from the project's one version number, and
# the installer says the same number. Usage: check_versions.sh <version> <file.dll|.exe|.msi>...
set -euo pipefail
version=${1:?version}
shift
IFS=. read -r major minor patch <<<"$version"
status=0
fail() { echo "$1: $2"; status=1; }
for file in "$@"; do
  case $file in
    *.msi)
      found=$(msiinfo export "$file" Property | tr -d '\r' | sed -n 's/^ProductVersion\t//p')
      [ "$found" = "$version" ] || fail "$file" "ProductVersion '$found', not $version"
      continue
      ;;
  esac
  # The resource directory lists type 0x10, RT_VERSION, at its top level...
  x86_64-w64-mingw32-objdump -p "$file" | grep -qE '^[0-9a-f]+   Entry: ID: 0x000010,' ||
    fail "$file" "no version resource"
  # ...and its contents, read back by windres, carry the version as numbers and as text.
  rc=$(x86_64-w64-mingw32-windres -i "$file" -O rc 2>/dev/null)
  grep -qx " FILEVERSION $major, $minor, $patch, 0" <<<"$rc" || fail "$file" "FILEVERSION"
  grep -qx " PRODUCTVERSION $major, $minor, $patch, 0" <<<"$rc" || fail "$file" "PRODUCTVERSION"
  for key in FileVersion ProductVersion; do
    grep -qF "VALUE \"$key\", \"$version\"" <<<"$rc" || fail "$file" "$key text"
  done
done
[ "$status" -eq 0 ] && echo "version $version in: $*"
exit "$status"
