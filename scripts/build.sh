#!/usr/bin/env bash
# Configures (once) and builds the cross-compiled tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-$root/build}
# A configure that failed half-way (a compiler not yet installed) leaves a cache but no
# Makefile: configure again rather than stop at a missing Makefile for ever.
if [ ! -f "$build_dir/Makefile" ]; then
  cmake -S "$root" -B "$build_dir" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build_dir" -j "$(nproc)"
