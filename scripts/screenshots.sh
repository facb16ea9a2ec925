#!/usr/bin/env bash
# Screenshots of the progress window and the message windows, as Wine draws them on a
# virtual screen, into docs/screenshots/. Usage: scripts/screenshots.sh [build-dir]
# Builds and installs first; runs under its own Xvfb unless a display is already there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-$root/build}
out=$root/docs/screenshots
# Pictures of another locale get a prefix, e.g. TWAINUI_LOCALE=ar_SA.UTF-8 SHOTS_PREFIX=rtl-
prefix=${SHOTS_PREFIX:-}
# SHOTS_DPI=144 photographs at another screen resolution; the prefix goes back to 96 after.
dpi=${SHOTS_DPI:-}
# SHOTS_LANGS="ar de" photographs in each of these languages (folders of resources/strings/),
# each picture prefixed with its folder ("de-settings-basic.png"); SHOTS_CASES="settings-basic
# profiles" photographs only those windows; SHOTS_OUT puts the pictures elsewhere; and
# SHOTS_SHEET=name.png, with SHOTS_LANGS, adds a contact sheet of every language's settings
# window to docs/screenshots/.
out=${SHOTS_OUT:-$out}

if [ -n "${SHOTS_LANGS:-}" ] && [ -z "${TWAINUI_SHOTS_INNER:-}" ]; then
  # Each language in a run of its own: the user's locale of Wine's processes is fixed when
  # the session's wineserver starts.
  for lang in $SHOTS_LANGS; do
    locale=$(bash "$root/scripts/language-locale.sh" "$lang") || exit 2
    TWAINUI_LOCALE=$locale SHOTS_PREFIX="$lang-" SHOTS_LANGS="" SHOTS_SHEET="" SHOTS_OUT="$out" \
      bash "$0" "$build_dir"
  done
  if [ -n "${SHOTS_SHEET:-}" ]; then
    tiles=() count=0
    for lang in $SHOTS_LANGS; do
      count=$((count + 1))
      tiles+=(-label "$lang" "$out/$lang-settings-basic.png")
    done
    montage "${tiles[@]}" -tile 6x -geometry '400x420+6+6' -pointsize 16 -background '#d8dce0' -depth 8 \
      "$root/docs/screenshots/$SHOTS_SHEET"
    echo "$SHOTS_SHEET: $count languages"
  fi
  exit
fi

if [ -z "${TWAINUI_SHOTS_INNER:-}" ]; then
  bash "$root/scripts/install-deps.sh"
  bash "$root/scripts/build.sh" "$build_dir"
  bash "$root/scripts/wine-prefix.sh" "$build_dir"
  if [ -n "$dpi" ]; then
    case $dpi in *[!0-9]*) echo "screenshots: SHOTS_DPI must be a number" >&2; exit 2 ;; esac
    set_dpi() {
      . "$root/scripts/wine-env.sh" "$build_dir"
      "$WINELOADER" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" \
        /f >/dev/null 2>&1
      # Wine reads the resolution when its server starts.
      "$WINESERVER" -k 2>/dev/null || true
      "$WINESERVER" -w
    }
    set_dpi "$dpi"
  fi
  . "$root/scripts/wine-session.sh" "$build_dir"
  [ -n "$dpi" ] && trap 'wine_session_end; set_dpi 96' EXIT
  bash "$root/scripts/install-product.sh" "$build_dir"
  export TWAINUI_SHOTS_INNER=1
  # A grey desktop, so that the windows' own edges show in the pictures. Wine's desktop
  # process reports that Xvfb went away; only that line is dropped (docs/development.md).
  # Room for the windows at a higher resolution too.
  screen=1024x768x24
  [ -n "$dpi" ] && [ "$dpi" -gt 96 ] && screen=1600x1200x24
  xvfb-run -a -s "-screen 0 $screen" bash "$0" "$build_dir" \
    2> >(grep -v --line-buffered -E '^X connection to :[0-9.]+ broken' >&2)
  exit
fi

. "$root/scripts/wine-env.sh" "$build_dir"
mkdir -p "$out"
xsetroot -solid '#5a6470' 2>/dev/null || true
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

shoot() {
  local case=$1 file=$2
  [ -z "${SHOTS_CASES:-}" ] || [[ " $SHOTS_CASES " == *" $case "* ]] || return 0
  local done_unix="$work/$case.done"
  local done_windows
  done_windows=$("$WINELOADER" winepath.exe -w "$done_unix" 2>/dev/null | tr -d '\r')
  "$WINELOADER" "$build_dir/bin/window_shots.exe" "$case" "$done_windows" >"$work/$case.title" &
  local pid=$!
  local title="" place=""
  # The program prints the window's title and then its place once the window is up.
  for _ in $(seq 1 200); do
    place=$(sed -n 2p "$work/$case.title" 2>/dev/null | tr -d '\r')
    [ -n "$place" ] && break
    sleep 0.05
  done
  title=$(head -n 1 "$work/$case.title" 2>/dev/null | tr -d '\r')
  if [ -z "$place" ]; then
    echo "screenshots: $case did not show a window" >&2
    touch "$done_unix"; wait "$pid" || true
    return 1
  fi
  # Let the first paint reach the X server: wait until the picture stops changing.
  local previous="" current
  for _ in $(seq 1 40); do
    current=$(import -window root -crop "$place" -depth 8 rgb:- 2>/dev/null | md5sum)
    [ "$current" = "$previous" ] && break
    previous=$current
    sleep 0.05
  done
  import -window root -crop "$place" +repage "$out/$prefix$file"
  touch "$done_unix"
  wait "$pid"
  echo "$file: \"$title\""
}

shoot settings-basic settings-basic.png
shoot settings-imaging settings-imaging.png
shoot settings-advanced settings-advanced.png
shoot settings-refused settings-refused.png
shoot about about.png
shoot progress progress.png
shoot message-0 message-0-interruption.png
shoot message-5 message-5-settings-refused.png
shoot message-101 message-101-delete.png
shoot message-102 message-102-overwrite.png
shoot message-104 message-104-defaults.png
shoot profiles profiles.png
shoot profile-new profile-new.png
shoot profile-save-as profile-save-as.png
shoot preview preview.png
shoot preview-zoomed preview-zoomed.png
shoot preview-rotated preview-rotated.png
