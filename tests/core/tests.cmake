target_sources(blackbox_tests PRIVATE
  tests/core/error_log_test.cpp
  tests/core/module_image_test.cpp
  tests/core/slots_test.cpp
  tests/core/load_test.cpp
  tests/core/unload_test.cpp
  tests/core/robustness_test.cpp
  tests/core/fuzz_test.cpp
  tests/files/create_dir_file_copy_test.cpp)
target_sources(inproc_tests PRIVATE
  tests/core/fault_guard_test.cpp
  tests/core/requests_test.cpp
  tests/core/error_log_writers_test.cpp)
