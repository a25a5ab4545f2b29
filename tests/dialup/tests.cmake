target_sources(blackbox_tests PRIVATE
  tests/dialup/ras_wine_test.cpp)
target_sources(inproc_tests PRIVATE
  tests/dialup/ras_simulation.cpp
  tests/dialup/ras_lists_test.cpp
  tests/dialup/ras_dial_test.cpp)
