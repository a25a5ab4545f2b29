# ovbench: times the file operations of the built DLL against plain loops and
# peer tools under the same Wine. Run by scripts/bench.sh; not a test.
add_executable(ovbench bench/ovbench.cpp)
# Loads OvDurAru.dll from beside itself at run time; built with it.
add_dependencies(ovbench OvDurAru)
# GetProcessMemoryInfo, for the list's memory per entry.
target_link_libraries(ovbench PRIVATE ovloader psapi)
