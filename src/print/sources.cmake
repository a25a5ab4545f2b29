list(APPEND OV_SOURCES
  src/print/print_platform.cpp
  src/print/print_line.cpp)
