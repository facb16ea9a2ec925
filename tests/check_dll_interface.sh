#!/usr/bin/env bash
# The DLL imports system DLLs only: no MinGW runtime DLL has to be found beside it. (Its
# export names and ordinals are checked through the loader, in window_tests.)
set -euo pipefail
dll=${1:?dll}
objdump=x86_64-w64-mingw32-objdump

dump=$($objdump -p "$dll")

allowed='^(KERNEL32|USER32|GDI32|GDIPLUS|OLE32|OLEAUT32|RPCRT4|SHELL32|COMCTL32|ADVAPI32|MSVCRT|UXTHEME|SHLWAPI|api-ms-win-[a-z0-9-]+)\.dll$'
status=0
imports=$(printf '%s\n' "$dump" | sed -n 's/^\s*DLL Name: //p')
for name in $imports; do
  if ! printf '%s\n' "$name" | grep -qiE "$allowed"; then
    echo "not a system DLL: $name"; status=1
  fi
done
echo "imports: $(echo $imports)"

exit $status
