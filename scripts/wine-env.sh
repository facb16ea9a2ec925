# Sourced, not run: the environment every Wine call of this project uses.
# Usage: . scripts/wine-env.sh <build-dir>
# One prefix per build tree, so two checkouts never share registry or installed files.
_build_dir=$(cd "${1:?build dir}" && pwd)
export WINEPREFIX="$_build_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The user's locale under Wine follows LC_ALL, even one the Linux system has not installed;
# bash's warning that it cannot switch to such a locale itself says nothing about Wine.
export LC_ALL="${TWAINUI_LOCALE:-C.UTF-8}" 2>/dev/null
# Debian's wine64 package keeps its loader and server out of PATH.
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
wine64() { "$WINELOADER" "$@"; }
unset _build_dir
