list(APPEND OV_SOURCES
  src/print/spooler_platform.cpp
  src/print/print_line.cpp)
