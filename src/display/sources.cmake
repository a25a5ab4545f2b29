list(APPEND OV_SOURCES
  src/display/display_stub.cpp)
