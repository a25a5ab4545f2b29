target_sources(blackbox_tests PRIVATE
  tests/display/test_windows.cpp
  tests/display/window_border_test.cpp
  tests/display/window_list_test.cpp
  tests/display/display_modes_test.cpp)
target_sources(inproc_tests PRIVATE
  tests/display/display_platform_inproc_test.cpp)
