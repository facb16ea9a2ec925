#!/usr/bin/env bash
# The host guide's minimal host is the file the tests build, stays under 100 lines, and runs a
# whole session with the installed product: device list, InitializeUI, OpenUI, CloseUI.
# Usage: check_host_guide.sh <guide> <example source> <wine loader> <minimal_host.exe>
set -euo pipefail
guide=${1:?guide} source=${2:?example} wine=${3:?wine loader} host=${4:?minimal host}
fail() { echo "host guide: $*"; exit 1; }
# The code block that follows the example's marker line in the guide.
sed -n '/^<!-- docs\/examples\/minimal_host.cpp -->$/,/^```$/p' "$guide" | sed '1,2d;$d' |
  diff - "$source" >/dev/null || fail "the guide's code block is not $source"
[ "$(wc -l <"$source")" -lt 100 ] || fail "$source has 100 lines or more"

program='C:\windows\TWAIN_64\VRXTWAIN'
out=$("$wine" "$host" "$program\\DEVICES\\mf7240-a3.xml" "$program\\DEVICELIST.xsd" 500 |
  tr -d '\r') || fail "the minimal host failed: $out"
grep -qx 'model: Quorvel MF-7240 A3 Colour' <<<"$out" && grep -q '^closed' <<<"$out" ||
  fail "unexpected output: $out"
status=0
"$wine" "$host" 'C:\no\such.xml' "$program\\DEVICELIST.xsd" >/dev/null 2>&1 || status=$?
[ "$status" -eq 3 ] || fail "an unreadable device list ended with status $status, not 3"
echo "host guide: the minimal host is the tested one and ran a whole session"
