#!/usr/bin/env bash
# The demo: the stand-in host drives TWAIN_UI.dll with a sample scanner model.
#   make demo [DEMO_ARGS="--model mf3120-a4 --error 7"] [DEMO_LANG=de]
# DEMO_LANG is a language folder (en, ar, de, ja, pt-PT, zh-Hant, ...): the demo runs in the
# locale its catalogue names, and the library picks that language as for a real user.
# DEMO_ARGS="--help" lists the host's options. With a display the windows are there to use;
# without one the host walks a scripted tour under Xvfb and leaves screenshots in build/demo/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}

# Refused before anything is built, with the list of the valid values.
locale=C.UTF-8
if [ -n "${DEMO_LANG:-}" ]; then
  locale=$(bash "$root/scripts/language-locale.sh" "$DEMO_LANG" 2>&1) || {
    echo "demo: DEMO_LANG=$locale" >&2
    exit 2
  }
fi

# Runs a step with its output kept back, and shows that output only if the step fails.
quietly() {
  local log status=0
  log=$(mktemp)
  "$@" >"$log" 2>&1 || status=$?
  [ "$status" -eq 0 ] || cat "$log" >&2
  rm -f "$log"
  return "$status"
}

bash "$root/scripts/install-deps.sh"
echo "Building (output only if it fails)"
quietly bash "$root/scripts/build.sh" "$build_dir"
bash "$root/scripts/wine-prefix.sh" "$build_dir"
export TWAINUI_LOCALE=$locale
. "$root/scripts/wine-session.sh" "$build_dir"
quietly bash "$root/scripts/install-product.sh" "$build_dir"

host=("$WINELOADER" "$build_dir/bin/twain_host.exe")
# shellcheck disable=SC2206  # options are words, as on a command line
args=(${DEMO_ARGS:-})

for arg in "${args[@]}"; do
  case $arg in
    --help | -h)
      "${host[@]}" --help
      exit
      ;;
  esac
done

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  "${host[@]}" "${args[@]}"
  exit
fi

shots="$build_dir/demo"
rm -rf "$shots" && mkdir -p "$shots"
win_shots=$("$WINELOADER" winepath -w "$shots" 2>/dev/null)
echo "No display: walking the scripted tour under Xvfb"
# Wine's desktop process outlives the host by a moment and says so when Xvfb goes away
# under it; that line (and only that) is dropped. The host bounds every step of the tour
# itself; the time limit here only catches a host that cannot even end.
status=0
timeout -k 10 600 xvfb-run -a -s "-screen 0 1280x1024x24" \
  "${host[@]}" --tour "$win_shots" --interrupt-at 1 --error 5 "${args[@]}" \
  2> >(grep -v --line-buffered -E '^X connection to :[0-9.]+ broken' >&2) || status=$?
if [ "$status" -eq 124 ]; then
  echo "demo: the host did not end within 600 s" >&2
fi
[ "$status" -eq 0 ] || exit "$status"

count=0
for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp" && count=$((count + 1))
done
if [ "$count" -eq 0 ]; then
  echo "demo: the tour wrote no screenshots" >&2
  exit 1
fi
echo "$count screenshots in $shots"
