# The command-line host: its parsing in-process, the program itself through
# CreateProcess, and the package a Windows user installs.
target_sources(inproc_tests PRIVATE tests/tools/ovcall_parse_inproc_test.cpp)
target_sources(blackbox_tests PRIVATE tests/tools/ovcall_host_test.cpp)
add_dependencies(blackbox_tests ovcall)

add_test(NAME OvcallPackage.Contents
  COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DCPACK=${CMAKE_CPACK_COMMAND}
    -DOBJDUMP=${CMAKE_OBJDUMP} -DWINDRES=${CMAKE_RC_COMPILER} -DCC=${CMAKE_C_COMPILER}
    -DCXX=${CMAKE_CXX_COMPILER} -DWINE=${CMAKE_CROSSCOMPILING_EMULATOR}
    -DVERSION=${PROJECT_VERSION} -DSUFFIX=${OV_PACKAGE_SUFFIX} -P ${CMAKE_SOURCE_DIR}/tests/tools/check_package.cmake)
set_tests_properties(OvcallPackage.Contents PROPERTIES TIMEOUT 300)
