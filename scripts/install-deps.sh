#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, and nothing else.
# Idempotent: a machine that has everything gets no apt-get call at all.
set -euo pipefail

packages=(
  cmake make
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine64 fonts-wine
  xvfb xauth x11-utils imagemagick
  googletest libxml2-utils clang-format
  librsvg2-bin icoutils
  fonts-lato python3-fonttools
  fonts-noto-core fonts-noto-ui-core fonts-noto-cjk
  wixl msitools
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
