list(APPEND OV_SOURCES
  src/sysinfo/sysinfo_stub.cpp)
