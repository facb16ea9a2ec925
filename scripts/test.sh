#!/usr/bin/env bash
# The one test command: installs what is missing, builds, and runs every test under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" "$build_dir"
bash "$root/scripts/wine-prefix.sh" "$build_dir"
. "$root/scripts/wine-session.sh" "$build_dir"
# The product at its Windows paths in the prefix: resource libraries, driver files.
bash "$root/scripts/install-product.sh" "$build_dir"

ctest_args=(ctest --test-dir "$build_dir" --output-on-failure "$@")
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  "${ctest_args[@]}"
else
  # Windows need a display; all window tests share one virtual screen.
  xvfb-run -a -s "-screen 0 1280x1024x24" "${ctest_args[@]}"
fi
