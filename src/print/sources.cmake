list(APPEND OV_SOURCES
  src/print/print_stub.cpp)
