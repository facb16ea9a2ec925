#!/usr/bin/env bash
# Times the scan configuration store under Wine: XMLSCN_Open with 11 reads, and one add
# with a save. Prints medians of repeated runs. Usage: scripts/bench-store.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh" "$build_dir" >/dev/null
bash "$root/scripts/wine-prefix.sh" "$build_dir"
. "$root/scripts/wine-session.sh" "$build_dir"
cd "$build_dir"
"$WINELOADER" bin/bench_store.exe "${1:-200}" | tr -d '\r'
