# The command-line host. Its parsing and calling code is a library of its own
# so the tests can drive it in-process.
add_library(ovcall_lib STATIC
  tools/ovcall/exports.cpp
  tools/ovcall/host.cpp
  tools/ovcall/parse.cpp)
target_include_directories(ovcall_lib PUBLIC tools PRIVATE src)
target_link_libraries(ovcall PRIVATE ovcall_lib)
