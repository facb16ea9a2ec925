#!/usr/bin/env bash
# Every C++ source and header is laid out as the repository's .clang-format says.
# Usage: check_source_format.sh <source dir>
set -euo pipefail
cd "${1:?source dir}"
mapfile -t files < <(find src include host tests tools docs/examples -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
status=0
report=$(clang-format --style=file --dry-run -Werror "${files[@]}" 2>&1) || status=$?
if [ "$status" -eq 0 ]; then
  echo "source format: ${#files[@]} files as .clang-format lays them out"
  exit 0
fi
# One line per file that differs, then the first differences in full.
echo "$report" | sed -n 's/^\([^:]*\.\(cpp\|h\)\):[0-9]*:[0-9]*: error:.*/\1/p' | sort -u |
  sed 's/^/not formatted: /'
echo "$report" | head -n 40
echo "(clang-format -i <file> lays a file out)"
exit 1
