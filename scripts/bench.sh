#!/usr/bin/env bash
# Runs one benchmark program of tools/bench/ under Wine and prints its medians.
# Usage: scripts/bench.sh store [runs]    XMLSCN_Open with 11 reads, one add with a save
#        scripts/bench.sh devlist [runs]  XMLSCNLST_Read, 100 to 20,000 values in a setting
#        scripts/bench.sh settings [runs]  OpenUI until filled, a change until the pane is
#                                          refreshed, and the floor of an empty dialog
#        scripts/bench.sh preview [runs]   ShowPreviewImage until painted, one redraw while
#                                          panning an A4 page at 400 %
#        scripts/bench.sh restriction_check <device list> <schema>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh" "$build_dir" >/dev/null
bash "$root/scripts/wine-prefix.sh" "$build_dir"
. "$root/scripts/wine-session.sh" "$build_dir"
cd "$build_dir"
program=${1:?store, devlist or restriction_check}
shift
if [ "$program" = settings ] || [ "$program" = preview ]; then
  # Windows need a display and the resource libraries at their Windows paths.
  bash "$root/scripts/install-product.sh" "$build_dir" >/dev/null
  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
      '"$WINELOADER" "bin/bench_$0.exe" "$@" | tr -d "\r"' "$program" "$@" \
      2> >(grep -v -E '^X connection to :[0-9.]+ broken' >&2)
    exit
  fi
fi
"$WINELOADER" "bin/bench_$program.exe" "$@" | tr -d '\r'
