#!/usr/bin/env bash
# Builds the DLL and its tests, then runs every test under Wine.
#   scripts/test.sh [--arch x86|x64] [ctest arguments]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/arch.sh"
"$root/scripts/build.sh"
. "$root/scripts/wine-env.sh"
wine_env_start "$build"
cd "$build"
ctest --output-on-failure --timeout 300 "$@"
