#!/usr/bin/env bash
# Prints the locale that shows a language, as its catalogue names it (resources/strings/).
# Usage: scripts/language-locale.sh <folder>      e.g. de, pt-PT, zh-Hant
# An unknown folder is refused with the list of the valid ones.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder=${1:-}
catalogue=$root/resources/strings/$folder.txt
if [[ ! $folder =~ ^[A-Za-z]+(-[A-Za-z]+)?$ ]] || [ ! -f "$catalogue" ]; then
  valid=$(cd "$root/resources/strings" && ls -- *.txt | sed 's/\.txt$//' | tr '\n' ' ')
  echo "\"$folder\" is not a language of this product. Valid: ${valid% }" >&2
  exit 2
fi
sed -n 's/^locale[[:space:]]\{1,\}\([^[:space:]]*\).*/\1/p' "$catalogue" | head -n 1
