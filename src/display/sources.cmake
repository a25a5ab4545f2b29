list(APPEND OV_SOURCES
  src/display/display_platform.cpp
  src/display/display_modes.cpp
  src/display/window_border.cpp
  src/display/window_list.cpp)
