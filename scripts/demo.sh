#!/usr/bin/env bash
# The demo: the stand-in host drives TWAIN_UI.dll with a sample scanner model.
#   make demo [DEMO_ARGS="--model mf3120-a4 --error 5"] [DEMO_LANG=ar_SA.UTF-8]
# With a display the windows are there to use. Without one the host walks a scripted tour
# under Xvfb and leaves screenshots in build/demo/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" "$build_dir"
bash "$root/scripts/wine-prefix.sh" "$build_dir"
export TWAINUI_LOCALE=${DEMO_LANG:-C.UTF-8}
. "$root/scripts/wine-session.sh" "$build_dir"
bash "$root/scripts/install-product.sh" "$build_dir"

host=("$WINELOADER" "$build_dir/bin/twain_host.exe")
# shellcheck disable=SC2206
args=(${DEMO_ARGS:-})

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  "${host[@]}" "${args[@]}"
  exit 0
fi

shots="$build_dir/demo"
rm -rf "$shots" && mkdir -p "$shots"
win_shots=$("$WINELOADER" winepath -w "$shots" 2>/dev/null)
echo "No display: walking the scripted tour under Xvfb"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "${host[@]}" --tour "$win_shots" --interrupt-at 1 --error 5 "${args[@]}"
count=0
for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp" && count=$((count + 1))
done
echo "Screenshots ($count): $shots"
ls -1 "$shots"
[ "$count" -gt 0 ]
