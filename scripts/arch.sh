# Sourced: picks the architecture to build and run, from a leading
# "--arch x86|x64" among the caller's arguments (taken off them) or from
# OV_ARCH (default x86), and maps it to what differs per architecture: the
# toolchain file, the build folder (BUILD_DIR overrides it) and the Wine prefix
# kind. Exported, so the scripts one script runs build and run the same.
if [ "${1:-}" = "--arch" ]; then
  OV_ARCH=${2:?"--arch needs x86 or x64"}
  shift 2
fi
OV_ARCH=${OV_ARCH:-x86}
case "$OV_ARCH" in
  x86)
    OV_TOOLCHAIN=mingw-i686
    OV_WINEARCH=win32
    : "${BUILD_DIR:=$root/build}"
    ;;
  x64)
    OV_TOOLCHAIN=mingw-x86_64
    OV_WINEARCH=win64
    : "${BUILD_DIR:=$root/build-x64}"
    ;;
  *)
    echo "unknown architecture '$OV_ARCH': use x86 or x64" >&2
    exit 2
    ;;
esac
export OV_ARCH OV_TOOLCHAIN OV_WINEARCH BUILD_DIR
build=$BUILD_DIR
