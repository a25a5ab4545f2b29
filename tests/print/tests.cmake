target_sources(blackbox_tests PRIVATE
  tests/print/print_test.cpp
  tests/print/real_printer_test.cpp)
target_sources(inproc_tests PRIVATE
  tests/print/simulated_spooler.cpp
  tests/print/print_spooler_inproc_test.cpp)
