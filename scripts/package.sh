#!/usr/bin/env bash
# The installer: installs what is missing, builds, and names the MSI (build/package/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" "$build_dir"
echo "Installer: $(ls "$build_dir"/package/TWAIN_UI-*-x64.msi)"
