#!/usr/bin/env bash
# Installs what the build and the tests need, when any of it is missing, on
# Debian 12: the MinGW-w64 i686 and x86-64 cross compilers (posix threads),
# 32-bit (where the kernel runs 32-bit programs) and 64-bit Wine, CMake, Ninja, llvm-dlltool (from llvm) and GoogleTest's sources.
# Needs root, or sudo for a user that may use it.
#   OV_SETUP_LOG=FILE  sends apt's output to FILE instead of the terminal.
set -euo pipefail
need=()
have() { command -v "$1" >/dev/null 2>&1; }
have i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686 mingw-w64-i686-dev)
have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64 mingw-w64-x86-64-dev)
have wine || need+=(wine)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
have cmake || need+=(cmake)
have ninja || need+=(ninja-build)
have llvm-dlltool || need+=(llvm)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
# A kernel without 32-bit execution cannot run 32-bit Wine at all.
if "$(dirname "$0")/runs-32bit.sh"; then
  dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32:i386)
fi
[ ${#need[@]} -eq 0 ] && exit 0

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  if have sudo; then
    SUDO=(sudo)
  else
    echo "setup: missing ${need[*]}" >&2
    echo "setup: installing them needs root, and this machine has no sudo." >&2
    echo "setup: run this command again as root, or install sudo and add $(id -un) to the sudo group." >&2
    exit 1
  fi
fi

log=${OV_SETUP_LOG:-/dev/stdout}
echo "setup: installing ${need[*]}${OV_SETUP_LOG:+ (log: $OV_SETUP_LOG)}"
export DEBIAN_FRONTEND=noninteractive
{
  dpkg --print-foreign-architectures | grep -qx i386 || "${SUDO[@]}" dpkg --add-architecture i386
  "${SUDO[@]}" apt-get update -q
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${need[@]}"
} >>"$log" 2>&1 || {
  echo "setup: the installation failed${OV_SETUP_LOG:+; the last lines of $OV_SETUP_LOG:}" >&2
  [ -n "${OV_SETUP_LOG:-}" ] && tail -n 20 "$OV_SETUP_LOG" >&2
  exit 1
}
