#!/usr/bin/env bash
# Times the scan configuration store under Wine: XMLSCN_Open with 11 reads, and one add
# with a save. Prints medians of repeated runs. Usage: scripts/bench-store.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh" "$build_dir" >/dev/null
bash "$root/scripts/wine-prefix.sh" "$build_dir"
. "$root/scripts/wine-env.sh" "$build_dir"
started=0
if "$WINESERVER" -p 2>/dev/null; then started=1; fi
# Wine's services must not inherit our output (see docs/development.md).
"$WINELOADER" wineboot >/dev/null 2>&1 </dev/null
[ $started -eq 1 ] && trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT
cd "$build_dir"
"$WINELOADER" bin/bench_store.exe "${1:-200}" | tr -d '\r'
