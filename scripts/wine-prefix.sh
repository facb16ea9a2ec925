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
settings_version=4
marker="$WINEPREFIX/.twainui-settings"
if [ "$(cat "$marker" 2>/dev/null)" != "$settings_version" ]; then
  # Wine's own fonts (Marlett draws the caption buttons, the .fon files are the System and
  # MS Sans Serif faces) come from fonts-wine, but Debian's Wine looks for them beside its
  # data folder under a name it cannot open, so it only ever finds them in C:\windows\Fonts.
  # Links keep them current with the package.
  fonts_dir=$("$WINELOADER" winepath.exe -u 'C:\windows\Fonts' </dev/null 2>/dev/null)
  mapfile -t wine_fonts < <(dpkg -L fonts-wine 2>/dev/null | grep -E '\.(ttf|fon)$')
  if [ ${#wine_fonts[@]} -eq 0 ] || [ -z "$fonts_dir" ]; then
    echo "wine-prefix: no fonts-wine fonts to link (is fonts-wine installed?)" >&2
    exit 1
  fi
  mkdir -p "$fonts_dir"
  ln -sf "${wine_fonts[@]}" "$fonts_dir/"
  # Xvfb has no window manager: Wine then draws its own caption and frame only when asked
  # (screenshots show the windows as a user sees them), and with windows left unmanaged
  # it does not wait up to two seconds for a window manager on every hide.
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # Windows has Segoe UI, which the About window's title asks for by name; Wine has no
  # face of that name and would fall back to a fixed-pitch one. Lato (fonts-lato) stands in.
  "$WINELOADER" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /d Lato /f \
    >/dev/null 2>&1
  echo "$settings_version" > "$marker"
fi

