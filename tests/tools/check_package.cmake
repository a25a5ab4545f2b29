# Builds the ZIP a Windows user receives and checks what is inside: the files,
# the DLL's export directory and version, that nothing needs a MinGW runtime
# DLL, that the header compiles as C and C++ and links through both import
# libraries, and that the shipped host runs the shipped example from bin/.
# Run by ctest, once per build folder (32-bit: win32, 64-bit: win64):
#   cmake -DBUILD_DIR=.. -DCPACK=.. -DOBJDUMP=.. -DWINDRES=.. -DCC=.. -DCXX=..
#   -DWINE=.. -DVERSION=.. -DSUFFIX=win32|win64 -P check_package.cmake
# WINE is empty for a native build on Windows: the programs then run directly.
# With -DNO_RUN=ON (a machine that cannot run them) only what needs no running
# is checked.
cmake_minimum_required(VERSION 3.25)
set(work ${BUILD_DIR}/package-check)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work}/unpacked)
set(failures 0)
macro(fail)
  string(JOIN "" text ${ARGN})
  message(SEND_ERROR "package: ${text}")
  math(EXPR failures "${failures} + 1")
endmacro()
function(run out)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${work}
    OUTPUT_VARIABLE o ERROR_VARIABLE e RESULT_VARIABLE r)
  set(${out} "${o}" PARENT_SCOPE)
  set(${out}_ERR "${e}" PARENT_SCOPE)
  set(${out}_RC "${r}" PARENT_SCOPE)
endfunction()
# The name a Windows program is given for a path of this build: under Wine the
# host's root is drive Z:; a native build's paths are Windows paths already.
function(windows_path out path)
  if(WINE)
    set(path "Z:${path}")
  endif()
  string(REPLACE "/" "\\" p "${path}")
  set(${out} "${p}" PARENT_SCOPE)
endfunction()

# --- the ZIP and its files
run(pack ${CPACK} -G ZIP --config ${BUILD_DIR}/CPackConfig.cmake -B ${work})
set(name OvDurAru-${VERSION}-${SUFFIX})
if(NOT pack_RC EQUAL 0 OR NOT EXISTS ${work}/${name}.zip)
  message(FATAL_ERROR "package: cpack failed: ${pack}${pack_ERR}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${work}/${name}.zip
  WORKING_DIRECTORY ${work}/unpacked RESULT_VARIABLE r)
set(root ${work}/unpacked/${name})
file(GLOB_RECURSE found RELATIVE ${root} ${root}/*)
list(SORT found)
set(required bin/OvDurAru.dll bin/ovcall.exe include/OvDurAru.h lib/OvDurAru.dll.a
  lib/OvDurAru.lib lib/OvDurAru.def examples/tour.ovs README.md LICENSE)
set(optional)
foreach(f ${required})
  if(NOT f IN_LIST found)
    fail("missing ${f}")
  endif()
endforeach()
foreach(f ${found})
  if(NOT f IN_LIST required AND NOT f IN_LIST optional)
    fail("unexpected file ${f}")
  endif()
endforeach()
set(dll ${root}/bin/OvDurAru.dll)
set(exe ${root}/bin/ovcall.exe)

# --- export directory: the module's name and 29 names at ordinals 1..29
file(READ ${CMAKE_CURRENT_LIST_DIR}/../../src/core/export_list.h header)
string(REGEX MATCHALL "\n    X\\([A-Za-z]+," rows "${header}")
set(names)
foreach(row ${rows})
  string(REGEX REPLACE "[^(]*\\(([A-Za-z]+)," "\\1" export_name "${row}")
  list(APPEND names ${export_name})
endforeach()
list(LENGTH names count)
if(NOT count EQUAL 29)
  fail("src/core/export_list.h gives ${count} export names, not 29")
endif()
run(dump ${OBJDUMP} -p ${dll})
if(NOT dump MATCHES "\nName[ \t]+[0-9a-f]+ OvDurAru\\.dll\n")
  fail("the export directory does not name the module OvDurAru.dll")
endif()
if(NOT dump MATCHES "\nOrdinal Base[ \t]+1\n")
  fail("the ordinal base is not 1")
endif()
string(REGEX MATCHALL "\n\t\\[ *[0-9]+\\] [A-Za-z]+" rows "${dump}")
set(exported)
foreach(row ${rows})
  string(REGEX REPLACE "\n\t\\[ *([0-9]+)\\] ([A-Za-z]+)" "\\1 \\2" row "${row}")
  list(APPEND exported "${row}")
endforeach()
set(expected)
set(i 0)
foreach(n ${names})
  list(APPEND expected "${i} ${n}")
  math(EXPR i "${i} + 1")
endforeach()
if(NOT exported STREQUAL expected)
  fail("exports differ:\n  got      ${exported}\n  expected ${expected}")
endif()

# --- every binary for the package's machine
if(SUFFIX STREQUAL "win64")
  set(machine "pei-x86-64")
else()
  set(machine "pei-i386")
endif()
foreach(bin ${dll} ${exe})
  run(head ${OBJDUMP} -f ${bin})
  if(NOT head MATCHES "file format ${machine}\n")
    fail("${bin} is not ${machine}:${head}")
  endif()
endforeach()

# --- only system DLLs beside the module and the host
foreach(bin ${dll} ${exe})
  run(imports ${OBJDUMP} -p ${bin})
  string(REGEX MATCHALL "DLL Name: [^\n]+" deps "${imports}")
  foreach(dep ${deps})
    if(dep MATCHES "(stdc\\+\\+|libgcc|winpthread|OvDurAru)")
      get_filename_component(b ${bin} NAME)
      fail("${b} needs ${dep}")
    endif()
  endforeach()
endforeach()

# --- version resource, read statically and through the shipped host
run(res ${WINDRES} -i ${dll} -O rc)
foreach(v "FILEVERSION 3, 5, 0, 0" "PRODUCTVERSION 3, 5, 0, 0" "VALUE \"FileVersion\", \"3.5\""
    "VALUE \"ProductVersion\", \"3.5\"" "VALUE \"CompanyName\", \"Orvale\""
    "VALUE \"OriginalFilename\", \"QUORDurAru.DLL\"" "FILEOS 0x4\n" "FILETYPE 0x2\n")
  string(FIND "${res}" "${v}" at)
  if(at EQUAL -1)
    fail("version resource lacks ${v}")
  endif()
endforeach()
if(NO_RUN)
  message(STATUS "package: the shipped programs are not run on this machine")
else()
windows_path(wdll ${dll})
run(ver ${WINE} ${exe} GetVersion ${wdll})
if(NOT ver STREQUAL "3.5\n")
  fail("ovcall GetVersion on the packaged DLL gave '${ver}' (${ver_ERR})")
endif()
run(list ${WINE} ${exe} --list)
string(REGEX MATCHALL "\n[ 0-9][0-9]  [A-Za-z]+ " listed "${list}")
list(LENGTH listed n)
if(NOT n EQUAL 29)
  fail("ovcall --list shows ${n} exports")
endif()
windows_path(tour ${root}/examples/tour.ovs)
run(toured ${WINE} ${exe} --timeout 60000 --script ${tour})
if(NOT toured_RC EQUAL 0 OR NOT toured MATCHES "GetVersion\\([^\n]*OvDurAru.dll\"\\) = \"3.5\"")
  fail("the example script failed from the package (${toured_RC}):\n${toured}${toured_ERR}")
endif()
endif()

# --- the header as C and C++, and a program linked through each import library
file(WRITE ${work}/use.c [=[
#include "OvDurAru.h"
#include <stdio.h>
int main(void) {
    printf("%s %d %s\n", GetData(30), (int)IsActive(-1), GetVersion("no such file"));
    return 0;
}
]=])
file(WRITE ${work}/use_win.cpp [=[
#include <windows.h>
#include "OvDurAru.h"
int main() {
    HMODULE m = GetModuleHandleA("OvDurAru.dll");
    auto version = reinterpret_cast<OVDURARU_PFN_GetVersion>(
        reinterpret_cast<void*>(GetProcAddress(m, "GetVersion")));
    return version && IsActive(-1) == 0 && GetData(30)[0] == '0' ? 0 : 1;
}
]=])
set(flags -Wall -Wextra -Werror -I${root}/include)
foreach(std c89 c99 c11)
  run(c ${CC} ${flags} -std=${std} -fsyntax-only -x c ${work}/use.c)
  if(NOT c_RC EQUAL 0)
    fail("the header does not compile as ${std}:\n${c_ERR}")
  endif()
endforeach()
foreach(std c++11 c++17 c++20)
  foreach(src use.c use_win.cpp)
    run(cxx ${CXX} ${flags} -std=${std} -fsyntax-only -x c++ ${work}/${src})
    if(NOT cxx_RC EQUAL 0)
      fail("the header does not compile as ${std} (${src}):\n${cxx_ERR}")
    endif()
  endforeach()
endforeach()
foreach(implib OvDurAru.dll.a OvDurAru.lib)
  set(prog ${root}/bin/use_${implib}.exe)
  run(link ${CC} ${flags} -std=c99 ${work}/use.c ${root}/lib/${implib} -o ${prog})
  if(NOT link_RC EQUAL 0)
    fail("a C program does not link with ${implib}:\n${link_ERR}")
    continue()
  endif()
  if(NOT NO_RUN)
    run(used ${WINE} ${prog})
  endif()
  if(NOT NO_RUN AND NOT used STREQUAL "0 0 \n")
    fail("a program linked with ${implib} printed '${used}' (${used_ERR})")
  endif()
  file(REMOVE ${prog})
endforeach()

if(failures GREATER 0)
  message(FATAL_ERROR "package: ${failures} check(s) failed")
endif()
message(STATUS "package ${name}.zip: ${found}")
