# The loader of the built DLL, shared by ovcall, the tests and the benchmark;
# it also checks the public header against the export list.
add_library(ovloader STATIC tools/loader/ov_loader.cpp tools/loader/public_header_check.cpp)
target_include_directories(ovloader PUBLIC tools src PRIVATE include)

# The command-line host. Its parsing and calling code is a library of its own
# so the tests can drive it in-process.
add_library(ovcall_lib STATIC
  tools/ovcall/exports.cpp
  tools/ovcall/host.cpp
  tools/ovcall/parse.cpp)
target_include_directories(ovcall_lib PUBLIC tools PRIVATE src)
target_link_libraries(ovcall_lib PUBLIC ovloader)
target_link_libraries(ovcall PRIVATE ovcall_lib)
