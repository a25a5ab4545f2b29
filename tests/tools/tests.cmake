# The command-line host: its parsing in-process, the program itself through
# CreateProcess, and the package a Windows user installs.
target_sources(inproc_tests PRIVATE tests/tools/ovcall_parse_inproc_test.cpp)
target_sources(blackbox_tests PRIVATE tests/tools/ovcall_host_test.cpp)
add_dependencies(blackbox_tests ovcall)

set(ov_package_check ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
  -DCPACK=${CMAKE_CPACK_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DWINDRES=${CMAKE_RC_COMPILER}
  -DCC=${CMAKE_C_COMPILER} -DCXX=${CMAKE_CXX_COMPILER} -DWINE=${CMAKE_CROSSCOMPILING_EMULATOR}
  -DVERSION=${PROJECT_VERSION} -DSUFFIX=${OV_PACKAGE_SUFFIX})
set(ov_package_script ${CMAKE_SOURCE_DIR}/tests/tools/check_package.cmake)
add_test(NAME OvcallPackage.Contents COMMAND ${ov_package_check} -P ${ov_package_script})
set_tests_properties(OvcallPackage.Contents PROPERTIES TIMEOUT 300)
# The same checks less the programs' runs, for a machine that cannot run them.
add_custom_target(package_check_static COMMAND ${ov_package_check} -DNO_RUN=ON
  -P ${ov_package_script} VERBATIM)
add_dependencies(package_check_static OvDurAru ovcall)
