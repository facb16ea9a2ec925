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
echo "Installed into $WINEPREFIX: TWAIN_UI.dll, languages ${languages[*]:-none}, driver files"
