target_sources(blackbox_tests PRIVATE
  tests/core/slots_test.cpp)
target_sources(inproc_tests PRIVATE
  tests/core/fault_guard_test.cpp)
