target_sources(blackbox_tests PRIVATE
  tests/files/create_dir_file_copy_test.cpp
  tests/files/dir_copy_test.cpp
  tests/files/file_delete_test.cpp
  tests/files/file_list_test.cpp
  tests/files/names_and_depth_test.cpp)
target_sources(inproc_tests PRIVATE
  tests/files/count_rule_inproc_test.cpp)
