list(APPEND OV_SOURCES
  src/sysinfo/sysinfo_platform.cpp
  src/sysinfo/system_folders.cpp
  src/sysinfo/user_identity.cpp
  src/sysinfo/version_info.cpp)
