#!/usr/bin/env bash
# Creates the build tree's Wine prefix once; later runs reuse it (about 10 s saved).
set -euo pipefail
build_dir=${1:?build dir}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$build_dir"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating Wine prefix $WINEPREFIX"
  "$WINELOADER" wineboot --init >/dev/null 2>&1
  "$WINESERVER" -w
fi

# Settings of the prefix, applied once per version of this list.
settings_version=2
marker="$WINEPREFIX/.twainui-settings"
if [ "$(cat "$marker" 2>/dev/null)" != "$settings_version" ]; then
  # Xvfb has no window manager: Wine then draws its own caption and frame only when asked
  # (screenshots show the windows as a user sees them), and with windows left unmanaged
  # it does not wait up to two seconds for a window manager on every hide.
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  echo "$settings_version" > "$marker"
fi

