# What a Windows user installs: the DLL, its
# header, import libraries for GNU and Microsoft linkers with the .def they
# come from, the host with an example script, and the documents, zipped by
# CPack as OvDurAru-<version>-win32.zip (win64 for the 64-bit build).

# The DLL and the host share bin/: ovcall loads the DLL from beside itself.
install(TARGETS OvDurAru
  RUNTIME DESTINATION bin
  ARCHIVE DESTINATION lib)
install(TARGETS ovcall RUNTIME DESTINATION bin)
install(FILES include/OvDurAru.h DESTINATION include)
install(FILES ${OV_DEF_FILE} DESTINATION lib)
if(LLVM_DLLTOOL)
  install(FILES ${CMAKE_BINARY_DIR}/OvDurAru.lib DESTINATION lib)
else()
  message(WARNING "llvm-dlltool not found: the package will lack OvDurAru.lib")
endif()
install(FILES tools/examples/tour.ovs DESTINATION examples)
install(FILES README.md LICENSE DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME OvDurAru)
set(CPACK_PACKAGE_VENDOR Orvale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME OvDurAru-${PROJECT_VERSION}-${OV_PACKAGE_SUFFIX})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
include(CPack)
