#!/usr/bin/env bash
# Writes the sample driver files as Windows reads them: private-profile files keep non-ASCII
# text only as UTF-16LE with a byte order mark, with CRLF line ends. VersionInfo.ini gets the
# product's version, so the About window shows the version the binaries and the installer carry.
# Usage: scripts/driver-files.sh <source folder> <output folder> <version>
set -euo pipefail
src=${1:?source folder}
out=${2:?output folder}
version=${3:?version}
mkdir -p "$out"
for sample in "$src"/*.ini; do
  name=$(basename "$sample")
  version_line=
  [ "$name" = VersionInfo.ini ] && version_line="s/^Version=.*/Version=$version/"
  { printf '\xff\xfe'; sed -e "$version_line" -e 's/\r*$/\r/' "$sample" | iconv -f UTF-8 -t UTF-16LE; } \
    >"$out/$name"
done
