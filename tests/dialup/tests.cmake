target_sources(blackbox_tests PRIVATE
  tests/dialup/ras_hang_up_test.cpp)
target_sources(inproc_tests PRIVATE
  tests/dialup/ras_simulation.cpp
  tests/dialup/ras_lists_inproc_test.cpp
  tests/dialup/ras_dial_inproc_test.cpp)
