#!/usr/bin/env bash
# Installs the cross toolchain, Wine and the build tools when any is missing.
set -euo pipefail
need=()
have() { command -v "$1" >/dev/null 2>&1; }
have i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686 mingw-w64-i686-dev)
have wine || need+=(wine wine32 wine64)
have cmake || need+=(cmake)
have ninja || need+=(ninja-build)
have llvm-dlltool || need+=(llvm)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32)
[ ${#need[@]} -eq 0 ] && exit 0
echo "setup: installing ${need[*]}"
export DEBIAN_FRONTEND=noninteractive
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
$SUDO apt-get update -q
$SUDO apt-get install -y -q "${need[@]}" wine32:i386
