target_sources(blackbox_tests PRIVATE
  tests/core/error_log_test.cpp
  tests/core/module_image_test.cpp
  tests/core/slots_test.cpp
  tests/core/load_test.cpp
  tests/core/unload_test.cpp
  tests/core/robustness_test.cpp
  tests/core/fuzz_test.cpp
  tests/core/system_libraries_test.cpp
  tests/core/wine_smoke_test.cpp)
target_sources(inproc_tests PRIVATE
  tests/core/fault_guard_inproc_test.cpp
  tests/core/requests_inproc_test.cpp
  tests/core/error_log_writers_inproc_test.cpp
  tests/core/system_library_inproc_test.cpp)

# For the on-demand system libraries: a host that links none of them, and
# stand-ins planted beside a host, kept out of the test programs' own folder.
add_executable(ovloadprobe tests/core/load_probe.cpp)
target_include_directories(ovloadprobe PRIVATE tests)
add_dependencies(blackbox_tests ovloadprobe)
foreach(planted rasapi32.dll winspool.drv version.dll)
  get_filename_component(base ${planted} NAME_WE)
  get_filename_component(suffix ${planted} LAST_EXT)
  add_library(ovplanted_${base} MODULE tests/core/planted_library.c)
  set_target_properties(ovplanted_${base} PROPERTIES PREFIX "" OUTPUT_NAME ${base}
    SUFFIX ${suffix} LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
  add_dependencies(blackbox_tests ovplanted_${base})
endforeach()
