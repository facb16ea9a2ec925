#!/usr/bin/env bash
# Installs the built product into the build tree's Wine prefix, at the Windows paths where
# the library looks for it:
#   <system Windows folder>\TWAIN_64\VRXTWAIN\            TWAIN_UI.dll, SCANCONFIGLIST.xsd
#   <system Windows folder>\TWAIN_64\VRXTWAIN\LANG\<f>\   Resource.dll of each built language
#   <shared documents>\Quorvel\ZQ_TWAIN\                  RegList.ini, scanner definition,
#                                                         VRXTWAIN\ for saved configurations
#   <Windows folder>\twain_32\VRXTWAIN\                   VersionInfo.ini
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
  "$windows\\twain_32\\VRXTWAIN" </dev/null 2>/dev/null)
program_dir=${unix[0]:?} data_dir=${unix[1]:?} version_dir=${unix[2]:?}

# Private-profile files keep non-ASCII text only as UTF-16LE with a byte order mark.
install_profile() {
  { printf '\xff\xfe'; sed 's/\r*$/\r/' "$1" | iconv -f UTF-8 -t UTF-16LE; } >"$2"
}

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
if [ -f "$root/data/SCANCONFIGLIST.xsd" ]; then
  install -m 644 "$root/data/SCANCONFIGLIST.xsd" "$program_dir/SCANCONFIGLIST.xsd"
fi
for sample in "$root"/data/driver/*.ini; do
  name=$(basename "$sample")
  if [ "$name" = VersionInfo.ini ]; then
    install_profile "$sample" "$version_dir/$name"
  else
    install_profile "$sample" "$data_dir/$name"
  fi
done
echo "Installed into $WINEPREFIX: TWAIN_UI.dll, languages ${languages[*]:-none}, driver files"
