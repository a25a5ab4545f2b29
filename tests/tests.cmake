# Two test programs: blackbox_tests loads the built DLL as the runtime does;
# inproc_tests links the module's objects in-process, for tests that put a
# simulated platform behind a subsystem or need worker classes of their own.
# Each subsystem's tests/<sub>/tests.cmake adds its sources to them with
# target_sources, and may add helper targets of its own.
# GoogleTest from its sources (Debian's googletest package, or a checkout
# named by OV_GTEST_SOURCE_DIR), else an installed one (MSYS2's
# mingw-w64-<arch>-gtest).
set(OV_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources")
if(EXISTS ${OV_GTEST_SOURCE_DIR}/CMakeLists.txt)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${OV_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest CONFIG REQUIRED)
endif()
include(GoogleTest)

add_executable(blackbox_tests tests/support/blackbox_main.cpp tests/support/ov_module.cpp
  tests/support/error_log_file.cpp
  tests/support/child_process.cpp tests/support/directory_link.cpp tests/support/file_printer.cpp
  tests/support/scratch_test.cpp)
target_include_directories(blackbox_tests PRIVATE tests include)
target_link_libraries(blackbox_tests PRIVATE GTest::gmock GTest::gtest ovcall_lib user32 gdi32 advapi32 version
  winspool)
add_dependencies(blackbox_tests OvDurAru)
# GCC 12 for x86-64 warns falsely about "text" + std::string at -O3 (GCC bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(blackbox_tests PRIVATE -Wno-restrict)
endif()

add_executable(inproc_tests tests/support/inproc_main.cpp tests/support/file_printer.cpp
  tests/support/error_log_file.cpp)
target_include_directories(inproc_tests PRIVATE tests src include)
# The module loads winspool on demand; the tests set up printers with it directly.
target_link_libraries(inproc_tests PRIVATE ovduraru_objs ovcall_lib GTest::gmock GTest::gtest winspool)

foreach(sub core files dialup print display sysinfo tools)
  include(tests/${sub}/tests.cmake OPTIONAL)
endforeach()

# The probe host loads the DLL through the shared loader.
target_link_libraries(ovloadprobe PRIVATE ovloader)

foreach(t blackbox_tests inproc_tests)
  gtest_discover_tests(${t} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 300)
endforeach()

# The in-process tests also pass together in one process, in any order: none
# leans on state another test left behind. The seed is printed on failure.
add_test(NAME InprocSuite.AllShuffledInOneProcess COMMAND inproc_tests --gtest_shuffle)
set_tests_properties(InprocSuite.AllShuffledInOneProcess PROPERTIES TIMEOUT 300)
