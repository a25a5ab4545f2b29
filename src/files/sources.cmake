list(APPEND OV_SOURCES
  src/files/create_new_dir.cpp
  src/files/file_copy.cpp
  src/files/files_platform.cpp
  src/files/paths.cpp
  src/files/dir_walk.cpp
  src/files/dir_copy.cpp
  src/files/file_delete.cpp
  src/files/file_list.cpp)
