#!/usr/bin/env bash
# Times XMLSCNLST_Read under Wine against the length of one setting's value list (100 to
# 20,000 values). Prints medians of repeated runs. Usage: scripts/bench-devlist.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh" "$build_dir" >/dev/null
bash "$root/scripts/wine-prefix.sh" "$build_dir"
. "$root/scripts/wine-session.sh" "$build_dir"
cd "$build_dir"
"$WINELOADER" bin/bench_devlist.exe "${1:-11}" | tr -d '\r'
