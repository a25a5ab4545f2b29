#!/usr/bin/env bash
# Builds the DLL and its tests, then runs every test under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
. "$root/scripts/wine-env.sh"
wine_env_start "$build"
cd "$build"
ctest --output-on-failure --timeout 300 "$@"
