#!/usr/bin/env bash
# The DLL as a loader sees it: it imports system DLLs only (no MinGW runtime DLL), and its
# export table holds exactly the names and ordinals of the .def file.
set -euo pipefail
dll=${1:?dll}
def=${2:?def file}
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

# "ordinal name" pairs: the name table lists each name with its unbiased ordinal.
base=$(printf '%s\n' "$dump" | sed -n 's/^Ordinal Base\s*\([0-9]*\).*/\1/p')
actual=$(printf '%s\n' "$dump" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^\s*\[\s*\([0-9]*\)\]\s\+\([A-Za-z_][A-Za-z0-9_]*\)$/\1 \2/p' |
  awk -v base="$base" '{print $1 + base, $2}' | sort -n)
expected=$(sed -n 's/^\s*\([A-Za-z_][A-Za-z0-9_]*\)\(\s*=\s*[A-Za-z_][A-Za-z0-9_]*\)\?\s*@\([0-9]*\).*/\3 \1/p' "$def" | sort -n)
if [ "$actual" != "$expected" ]; then
  echo "export table differs from $def (expected < > actual):"
  diff <(echo "$expected") <(echo "$actual") || true
  status=1
fi
[ $status -eq 0 ] && echo "exports: $(echo "$expected" | wc -l) names at their ordinals"
exit $status
