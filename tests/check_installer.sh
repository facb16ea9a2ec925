#!/usr/bin/env bash
# The installer in a fresh Wine prefix of its own: an older version installs (developer files
# and the reference data source off), the user saves a configuration and changes a driver
# setting, this version upgrades it with every feature and the older one cannot come back over
# it, the stand-in host scans with the installed files only, and uninstalling removes every
# installed file and folder but the user's configuration and driver settings.
# Usage: check_installer.sh <build-dir> <msi> <version>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?build dir}" && pwd)
msi=${2:?msi}
version=${3:?version}
work=$build/installer-test
rm -rf "$work" && mkdir -p "$work/tour"
bash "$root/packaging/build-msi.sh" "$build" 0.9.0 "$work/old.msi"
bash "$root/scripts/wine-prefix.sh" "$work" >/dev/null
. "$root/scripts/wine-session.sh" "$work"

fail() { echo "installer: $*" >&2; exit 1; }
win() { "$WINELOADER" winepath -w "$1" 2>/dev/null; }
msiexec() { "$WINELOADER" msiexec "$@" /qn </dev/null >/dev/null 2>&1 || fail "msiexec $* failed"; }
# Every file and folder of drive C:, lower case, but the installer's own package cache.
snapshot() {
  (cd "$WINEPREFIX/drive_c" && find . -mindepth 1 | tr '[:upper:]' '[:lower:]' |
    grep -v '^\./windows/installer' | sort) >"$work/$1"
}
products() {
  "$WINELOADER" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s \
    2>/dev/null | tr -d '\r' | grep -A1 'DisplayName *REG_SZ *TWAIN_UI' |
    sed -n 's/^ *DisplayVersion *REG_SZ *//p' | paste -sd' '
}

snapshot before
msiexec /i "$(win "$work/old.msi")"
[ "$(products)" = 0.9.0 ] || fail "0.9.0 not registered once: '$(products)'"
data=$WINEPREFIX/drive_c/users/Public/Documents/Quorvel/ZQ_TWAIN
[ -e "$WINEPREFIX/drive_c/Program Files/TWAIN_UI SDK" ] && fail "developer files installed by default"
[ -e "$WINEPREFIX/drive_c/windows/twain_64/Quorvel" ] && fail "the reference source installed by default"
# What the user makes of the installation: a saved configuration, a changed scanner setting.
printf '<?xml version="1.0" encoding="UTF-8"?>\n<param/>\n' >"$data/VRXTWAIN/N_SCNLSTZQ5100.xml"
{ printf '\xff\xfe'; printf '[Contents]\r\nUnit=1\r\n' | iconv -t UTF-16LE; } >"$data/ZQ5100.ini"
cp "$data/VRXTWAIN/N_SCNLSTZQ5100.xml" "$data/ZQ5100.ini" "$work/"

msiexec /i "$(win "$msi")" ADDLOCAL=ALL
[ "$(products)" = "$version" ] || fail "upgrade left '$(products)', not $version alone"
if "$WINELOADER" msiexec /i "$(win "$work/old.msi")" /qn </dev/null >/dev/null 2>&1 ||
  [ "$(products)" != "$version" ]; then
  fail "0.9.0 installed over $version: $(products)"
fi
snapshot installed
saved=users/public/documents/quorvel/zq_twain/vrxtwain/n_scnlstzq5100.xml
comm -13 "$work/before" "$work/installed" | sed 's|^\./||' | grep -vxF "$saved" >"$work/new"
# Where scripts/install-product.sh puts the product for the tests, plus the developer files.
program=windows/twain_64/vrxtwain
expected=("$program/twain_ui.dll" "$program/scanconfiglist.xsd" "$program/devicelist.xsd"
  windows/twain_32/vrxtwain/versioninfo.ini)
sdk="program files/twain_ui sdk"
expected+=("$sdk/include/twain_ui.h" "$sdk/docs/host-guide.md" "$sdk/docs/examples/minimal_host.cpp"
  "$sdk/changelog.md" windows/twain_64/quorvel/twain_ui_reference.ds)
for library in "$build"/LANG/*/Resource.dll; do
  expected+=("$program/lang/$(basename "$(dirname "$library")" | tr '[:upper:]' '[:lower:]')/resource.dll")
done
for sample in "$root"/data/devices/*.xml; do expected+=("$program/devices/$(basename "$sample")"); done
for file in "$build"/driver/*.ini; do
  [ "${file##*/}" = VersionInfo.ini ] || expected+=("users/public/documents/quorvel/zq_twain/${file##*/}")
done
for path in "${expected[@]}"; do
  grep -qxF "${path,,}" "$work/new" || fail "not installed: $path"
done
cmp -s "$build/bin/TWAIN_UI.dll" "$WINEPREFIX/drive_c/windows/twain_64/VRXTWAIN/TWAIN_UI.dll" ||
  fail "installed TWAIN_UI.dll is not the build's"
cmp -s "$work/ZQ5100.ini" "$data/ZQ5100.ini" || fail "the upgrade overwrote the user's driver settings"

installed='C:\windows\TWAIN_64\VRXTWAIN'
"$WINELOADER" "$build/bin/twain_host.exe" --dll "$installed\\TWAIN_UI.dll" \
  --model "$installed\\DEVICES\\mf7240-a3.xml" --schema "$installed\\DEVICELIST.xsd" \
  --pages 1 --tour "$(win "$work/tour")" </dev/null >"$work/host.log" 2>&1 ||
  fail "the stand-in host failed with the installed files: $(tr -d '\r' <"$work/host.log")"
# The tour saves and deletes a profile as a user would: the store as it now stands is what
# uninstalling must keep.
cp "$data/VRXTWAIN/N_SCNLSTZQ5100.xml" "$work/"

msiexec /x "$(win "$msi")"
[ -z "$(products)" ] || fail "still registered after uninstalling: $(products)"
snapshot removed
kept=$(comm -12 "$work/new" <(sed 's|^\./||' "$work/removed") | paste -sd' ')
user=users/public/documents/quorvel
[ "$kept" = "$user $user/zq_twain $user/zq_twain/reglist.ini $user/zq_twain/vrxtwain $user/zq_twain/zq5100.ini" ] ||
  fail "left after uninstalling: $kept"
cmp -s "$work/N_SCNLSTZQ5100.xml" "$data/VRXTWAIN/N_SCNLSTZQ5100.xml" &&
  cmp -s "$work/ZQ5100.ini" "$data/ZQ5100.ini" || fail "uninstalling changed the user's files"
echo "installer: 0.9.0 upgraded to $version, the host scanned with the installed files," \
  "uninstalling kept only the user's configuration and driver settings"
wine_session_end
rm -rf "$work"
