#!/usr/bin/env bash
# Configures and builds into build/ (build-x64/ for x64, or $BUILD_DIR):
# everything, or the targets named.
#   scripts/build.sh [--arch x86|x64] [target...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/arch.sh"
"$root/scripts/setup.sh"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$OV_TOOLCHAIN.cmake" -DCMAKE_BUILD_TYPE=Release
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" "${targets[@]}" -- -j"$(nproc)"
