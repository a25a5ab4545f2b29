# Test DLLs that carry nothing but a version resource, one per case, built
# from the .rc files beside this file into the test programs' folder.
set(OV_VERSION_CASES
  only_b0 third first_wins fixed_before_rest no_translation empty_first all_empty long
  zero_os zero_type raw_valid raw_old_struct raw_short_fixed)
foreach(case IN LISTS OV_VERSION_CASES)
  add_library(ovver_${case} SHARED tests/sysinfo/version/${case}.rc)
  set_target_properties(ovver_${case} PROPERTIES PREFIX "" LINKER_LANGUAGE C)
  # Resource only: no C runtime, no entry point.
  target_link_options(ovver_${case} PRIVATE -nostdlib -Wl,--entry=0)
  add_dependencies(blackbox_tests ovver_${case})
  add_dependencies(inproc_tests ovver_${case})
endforeach()

target_sources(blackbox_tests PRIVATE
  tests/sysinfo/system_folders_test.cpp
  tests/sysinfo/user_identity_test.cpp
  tests/sysinfo/version_test.cpp)
target_sources(inproc_tests PRIVATE
  tests/sysinfo/sysinfo_simulation.cpp
  tests/sysinfo/simulated_identity_inproc_test.cpp
  tests/sysinfo/version_reader_inproc_test.cpp)
