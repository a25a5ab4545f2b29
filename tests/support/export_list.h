// The 29 exports with their calling interface, in ordinal order (1 to 29,
// alphabetical): the one list every test takes them from. Each row is
// OV_EXPORT(name, result, (parameters)); tests/tools/check_package.cmake reads
// the names from here too.
#pragma once

#define OV_EXPORT_LIST(OV_EXPORT)                                                                  \
    OV_EXPORT(CreateNewDir, short, (char*))                                                        \
    OV_EXPORT(DirCopy, short, (const char*, const char*, short, short))                            \
    OV_EXPORT(DisplayResList, const char*, (int))                                                  \
    OV_EXPORT(DisplaySetRes, short, (int, int, int, int, int))                                     \
    OV_EXPORT(FileCopy, short, (const char*, const char*, short, short))                           \
    OV_EXPORT(FileDelete, short, (const char*, short))                                             \
    OV_EXPORT(GetComputerName, const char*, ())                                                    \
    OV_EXPORT(GetData, const char*, (short))                                                       \
    OV_EXPORT(GetFileList, short, (const char*, short))                                            \
    OV_EXPORT(GetFileListCount, short, ())                                                         \
    OV_EXPORT(GetFileListName, const char*, (short))                                               \
    OV_EXPORT(GetMyDocDir, const char*, ())                                                        \
    OV_EXPORT(GetSystemDir, const char*, ())                                                       \
    OV_EXPORT(GetTempDir, const char*, ())                                                         \
    OV_EXPORT(GetVersion, const char*, (const char*))                                              \
    OV_EXPORT(GetWindowList, short, (int, int, const char*, const char*, short))                   \
    OV_EXPORT(GetWindowsDir, const char*, ())                                                      \
    OV_EXPORT(GetWindowsUserDomain, const char*, (short))                                          \
    OV_EXPORT(GetWindowsUserGroups, short, ())                                                     \
    OV_EXPORT(GetWindowsUserName, const char*, ())                                                 \
    OV_EXPORT(IsActive, short, (short))                                                            \
    OV_EXPORT(PrintLine, short, (const char*, const char*))                                        \
    OV_EXPORT(RASActive, short, (const char*))                                                     \
    OV_EXPORT(RASDial, short, (const char*, const char*, const char*, const char*))                \
    OV_EXPORT(RASEntries, const char*, ())                                                         \
    OV_EXPORT(RASHangUp, short, (const char*))                                                     \
    OV_EXPORT(RASList, const char*, ())                                                            \
    OV_EXPORT(SetWindowBorder, short, (HWND, short, short))                                        \
    OV_EXPORT(WindowRefresh, short, (HWND))

#define OV_EXPORT_NAME(name, result, parameters) #name,
// The names in ordinal order: kExportNames[0] has ordinal 1.
inline constexpr const char* kExportNames[] = {OV_EXPORT_LIST(OV_EXPORT_NAME)};
#undef OV_EXPORT_NAME
static_assert(sizeof(kExportNames) / sizeof(kExportNames[0]) == 29);
