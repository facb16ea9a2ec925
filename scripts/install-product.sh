#!/usr/bin/env bash
# Installs the built product into the build tree's Wine prefix, at the Windows paths where
# the library looks for it:
#   <system Windows folder>\TWAIN_64\VRXTWAIN\            TWAIN_UI.dll, SCANCONFIGLIST.xsd,
#                                                         DEVICELIST.xsd, DEVICES\ samples
#   <system Windows folder>\TWAIN_64\VRXTWAIN\LANG\<f>\   Resource.dll of each built language
#   <shared documents>\Quorvel\ZQ_TWAIN\                  RegList.ini, scanner definition,
#                                                         VRXTWAIN\ for saved configurations
#   <Windows folder>\twain_32\VRXTWAIN\                   VersionInfo.ini
#   <system Windows folder>\twain_64\Quorvel\            the reference data source
# The installer (packaging/TWAIN_UI.wxs) puts the same files in the same places.
# Usage: scripts/install-product.sh <build-dir>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(cd "${1:?build dir}" && pwd)
bash "$root/scripts/wine-prefix.sh" "$build_dir"
. "$root/scripts/wine-env.sh" "$build_dir"

# Ask Wine itself for its folders rather than guessing the prefix layout: %windir% is
# what GetSystemWindowsDirectoryW and GetWindowsDirectoryW return, and the shared
# documents folder (CSIDL_COMMON_DOCUMENTS) is %PUBLIC%\Documents.
mapfile -t folders < <("$WINELOADER" cmd /c 'echo %windir%& echo %PUBLIC%' </dev/null 2>/dev/null |
                       tr -d '\r')
windows=${folders[0]:-}
public=${folders[1]:-}
if [ -z "$windows" ] || [ -z "$public" ]; then
  echo "install-product: Wine did not report its folders" >&2
  exit 1
fi
# winepath matches existing folders case-insensitively (the prefix has twain_64), so
# files land in the folder Windows programs see, not in a second one differing by case.
mapfile -t unix < <("$WINELOADER" winepath.exe -u \
  "$windows\\TWAIN_64\\VRXTWAIN" \
  "$public\\Documents\\Quorvel\\ZQ_TWAIN" \
  "$windows\\twain_32\\VRXTWAIN" \
  "$windows\\twain_64\\Quorvel" </dev/null 2>/dev/null)
program_dir=${unix[0]:?} data_dir=${unix[1]:?} version_dir=${unix[2]:?} source_dir=${unix[3]:?}

mkdir -p "$program_dir" "$data_dir/VRXTWAIN" "$version_dir"
install -m 644 "$build_dir/bin/TWAIN_UI.dll" "$program_dir/TWAIN_UI.dll"
languages=()
for library in "$build_dir"/LANG/*/Resource.dll; do
  [ -f "$library" ] || continue
  folder=$(basename "$(dirname "$library")")
  mkdir -p "$program_dir/LANG/$folder"
  install -m 644 "$library" "$program_dir/LANG/$folder/Resource.dll"
  languages+=("$folder")
done
install -m 644 "$root/data/SCANCONFIGLIST.xsd" "$root/data/DEVICELIST.xsd" "$program_dir/"
mkdir -p "$program_dir/DEVICES"
install -m 644 "$root"/data/devices/*.xml "$program_dir/DEVICES/"
# The build writes the driver files as Windows reads them (scripts/driver-files.sh).
for file in "$build_dir"/driver/*.ini; do
  name=$(basename "$file")
  if [ "$name" = VersionInfo.ini ]; then
    install -m 644 "$file" "$version_dir/$name"
  else
    install -m 644 "$file" "$data_dir/$name"
  fi
done
# The reference data source, the installer's optional feature; the tests use it.
if [ -f "$build_dir/bin/TWAIN_UI_Reference.ds" ]; then
  mkdir -p "$source_dir"
  install -m 644 "$build_dir/bin/TWAIN_UI_Reference.ds" "$source_dir/TWAIN_UI_Reference.ds"
fi

# Font linking: Han and Hangul, which neither the UI face nor any library's font holds, are
# drawn by the platform's CJK faces, as on Windows for a face its SystemLink key names.
# Wine reads the key per face name, so the bold face's full name needs a value of its own.
# Here the linked faces are Debian's Noto fonts (scripts/install-deps.sh), found through
# fontconfig, with the user's own language's Han forms first. Wine's caption font
# (Tahoma) gets the same links, and the Arabic and Hebrew faces too, as Windows links its
# own UI faces to every script.
ui_face=$(sed -n 's/^#define UI_FONT_FACE \{1,\}"\([^"]*\)".*/\1/p' "$root/resources/ResourceIds.h")
case ${LC_ALL%%.*} in
  ko_*) han=(KR JP SC TC) ;;
  zh_TW | zh_HK | zh_MO) han=(TC SC JP KR) ;;
  zh_*) han=(SC TC JP KR) ;;
  *) han=(JP SC TC KR) ;;
esac
links='NotoSansArabicUI-Regular.ttf,Noto Sans Arabic UI\0NotoSansHebrew-Regular.ttf,Noto Sans Hebrew'
for region in "${han[@]}"; do
  links+="\\0NotoSansCJK-Regular.ttc,Noto Sans CJK $region"
done
for face in "$ui_face" "$ui_face Bold" Tahoma "Tahoma Bold"; do
  "$WINELOADER" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v "$face" /t REG_MULTI_SZ /d "$links" /f </dev/null >/dev/null 2>&1
done
echo "Installed into $WINEPREFIX: TWAIN_UI.dll, languages ${languages[*]:-none}, driver files"
