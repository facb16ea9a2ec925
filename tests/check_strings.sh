#!/usr/bin/env bash
# The string check passes the shipped catalogues and finds every fault of a broken one.
# Usage: check_strings.sh CHECKER SHIPPED-FOLDER BROKEN-FOLDER
set -uo pipefail
checker=$1 shipped=$2 broken=$3
status=0

if ! out=$(/usr/bin/python3 "$checker" "$shipped" 2>&1); then
  echo "the shipped catalogues are refused:"; echo "$out"; status=1
fi

out=$(/usr/bin/python3 "$checker" "$broken" 2>&1)
code=$?
if [ "$code" -ne 1 ]; then
  echo "a broken catalogue passed (exit $code)"; status=1
fi
expected=(
  "xx: IDS_ABOUT_YEAR is missing"
  "xx: IDS_EXTRA_TEXT is not an English string"
  "xx: IDS_OVERWRITE_TEXT: placeholders differ from English"
  "xx: IDS_MAIN_LABEL: an access key where English has none"
  "xx: IDS_OK: an access key where English has one"
  "xx: IDS_OK is under [main], English has it under [messages]"
  "en xx: one locale, en_US.UTF-8, for two languages"
  "xx: [main] access key 's' is shared by IDS_SCAN IDS_MAIN_LABEL IDS_CANCEL"
)
for line in "${expected[@]}"; do
  grep -qF -- "$line" <<<"$out" || { echo "not reported: $line"; status=1; }
done
# English itself is sound: every problem is the translation's.
if grep -q "^en:" <<<"$out"; then
  echo "the reference was blamed:"; grep "^en:" <<<"$out"; status=1
fi
[ "$status" -eq 0 ] && echo "string check: the shipped catalogues pass; every fault of the broken one is found"
exit "$status"
