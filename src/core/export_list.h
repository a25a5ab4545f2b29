// The 29 exports in ordinal order (1 to 29, alphabetical): the one list the
// shims, the .def file, ovcall's table, the loaders and the checks of the
// public header and of the application object are made from. A row is
// X(name, result kind, (parameters), (parameter names)); a Code or Slot
// export answers a short, a Text one a const char*. CMakeLists.txt reads the
// names for the .def file.
#pragma once

// As <windows.h> declares it, for the users that do without it.
typedef struct HWND__* HWND;

// clang-format off
#define OV_EXPORT_LIST(X)                                                                          \
    X(CreateNewDir, Code, (char* path), (path))                                                    \
    X(DirCopy, Slot, (const char* source, const char* dest, short failIfExists,                    \
      short skipIdentical), (source, dest, failIfExists, skipIdentical))                           \
    X(DisplayResList, Text, (int index), (index))                                                  \
    X(DisplaySetRes, Code, (int width, int height, int bits, int frequency, int permanent),        \
      (width, height, bits, frequency, permanent))                                                 \
    X(FileCopy, Slot, (const char* source, const char* dest, short failIfExists,                   \
      short skipIdentical), (source, dest, failIfExists, skipIdentical))                           \
    X(FileDelete, Slot, (const char* pattern, short recurse), (pattern, recurse))                  \
    X(GetComputerName, Text, (), ())                                                               \
    X(GetData, Text, (short slot), (slot))                                                         \
    X(GetFileList, Slot, (const char* pattern, short sortMode), (pattern, sortMode))               \
    X(GetFileListCount, Code, (), ())                                                              \
    X(GetFileListName, Text, (short index), (index))                                               \
    X(GetMyDocDir, Text, (), ())                                                                   \
    X(GetSystemDir, Text, (), ())                                                                  \
    X(GetTempDir, Text, (), ())                                                                    \
    X(GetVersion, Text, (const char* path), (path))                                                \
    X(GetWindowList, Slot, (int start, int maxCount, const char* prefix, const char* suffix,       \
      short withHandle), (start, maxCount, prefix, suffix, withHandle))                            \
    X(GetWindowsDir, Text, (), ())                                                                 \
    X(GetWindowsUserDomain, Text, (short withAccount), (withAccount))                              \
    X(GetWindowsUserGroups, Slot, (), ())                                                          \
    X(GetWindowsUserName, Text, (), ())                                                            \
    X(IsActive, Code, (short slot), (slot))                                                        \
    X(PrintLine, Slot, (const char* printer, const char* text), (printer, text))                   \
    X(RASActive, Code, (const char* entry), (entry))                                               \
    X(RASDial, Slot, (const char* entry, const char* domain, const char* user,                     \
      const char* password), (entry, domain, user, password))                                      \
    X(RASEntries, Text, (), ())                                                                    \
    X(RASHangUp, Slot, (const char* entry), (entry))                                               \
    X(RASList, Text, (), ())                                                                       \
    X(SetWindowBorder, Code, (HWND window, short kind, short transparent),                         \
      (window, kind, transparent))                                                                 \
    X(WindowRefresh, Code, (HWND window), (window))
// clang-format on

#define OV_RESULT_Code short
#define OV_RESULT_Slot short
#define OV_RESULT_Text const char*

// The pointer type of each export: ov::exports::FileCopy.
namespace ov::exports {
#define OV_EXPORT_TYPE(name, kind, params, names) using name = OV_RESULT_##kind(__cdecl*) params;
OV_EXPORT_LIST(OV_EXPORT_TYPE)
#undef OV_EXPORT_TYPE
} // namespace ov::exports

#define OV_EXPORT_NAME(name, kind, params, names) #name,
// The names in ordinal order: kExportNames[0] has ordinal 1.
inline constexpr const char* kExportNames[] = {OV_EXPORT_LIST(OV_EXPORT_NAME)};
#undef OV_EXPORT_NAME
static_assert(sizeof(kExportNames) / sizeof(kExportNames[0]) == 29);
