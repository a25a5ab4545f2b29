list(APPEND OV_SOURCES
  src/dialup/ras_stub.cpp)
