list(APPEND OV_SOURCES
  src/dialup/dialup_platform.cpp
  src/dialup/ras_lists.cpp
  src/dialup/ras_exports.cpp
  src/dialup/ras_dial.cpp
  src/dialup/ras_hang_up.cpp)
