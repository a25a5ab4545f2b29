# What differs between the 32-bit and the 64-bit build, decided once from the
# toolchain: the architecture's short name (it picks the per-architecture
# sources), the package suffix and the machine of the Microsoft import library.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(OV_ARCH x86)
  set(OV_PACKAGE_SUFFIX win32)
  set(OV_DLLTOOL_MACHINE i386)
elseif(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(OV_ARCH x64)
  set(OV_PACKAGE_SUFFIX win64)
  set(OV_DLLTOOL_MACHINE i386:x86-64)
else()
  message(FATAL_ERROR "OvDurAru: pointers of ${CMAKE_SIZEOF_VOID_P} bytes are neither x86 nor x64")
endif()
# A native preset names its architecture; the compiler on the PATH decides
# what is built, so a preset run from the wrong MSYS2 shell stops here.
if(OV_EXPECTED_ARCH AND NOT OV_EXPECTED_ARCH STREQUAL OV_ARCH)
  message(FATAL_ERROR "OvDurAru: this preset builds ${OV_EXPECTED_ARCH}, the compiler on the \
PATH builds ${OV_ARCH}: run it from MSYS2's MINGW32 shell for x86, MINGW64 for x64")
endif()
