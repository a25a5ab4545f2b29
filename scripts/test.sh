#!/usr/bin/env bash
# Builds the DLL and its tests, then runs every test under Wine.
#   scripts/test.sh [--arch x86|x64] [ctest arguments]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/arch.sh"
"$root/scripts/build.sh"
if [ "$OV_ARCH" = x86 ] && ! "$root/scripts/runs-32bit.sh"; then
  # The package's static checks still hold the 32-bit DLL's interface.
  cmake --build "$build" --target package_check_static
  echo "test.sh: the 32-bit DLL and its tests are built but NOT run: this machine's kernel" \
    "cannot run 32-bit programs, Wine's 32-bit loader among them. Only the package's" \
    "static checks ran (export directory, images, imports, version resource, header)." >&2
  exit 0
fi
. "$root/scripts/wine-env.sh"
wine_env_start "$build"
cd "$build"
ctest --output-on-failure --timeout 300 "$@"
