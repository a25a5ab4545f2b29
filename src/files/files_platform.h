// The file-system calls of the file jobs, reached through one table so an
// in-process test can put a simulated file system behind them. The module
// itself always uses the real Win32 calls, the wide ones, on long paths.
#pragma once

#include <windows.h>

#include "core/handles.h"
#include "core/platform_binding.h"

namespace ov {

// clang-format off
#define OV_FILES_CALLS(X)                                                                          \
    X(GetFullPathNameW)                                                                            \
    X(FindFirstFileExW) X(FindNextFileW) X(FindClose)                                              \
    X(CreateDirectoryW) X(CopyFileW) X(DeleteFileW) X(RemoveDirectoryW)                            \
    X(CreateFileW) X(GetFileTime) X(GetFileSizeEx) X(GetFileInformationByHandle) X(CloseHandle)
// clang-format on

struct FilesPlatform {
    OV_FILES_CALLS(OV_PLATFORM_MEMBER)
    static const FilesPlatform kSystem;
};

inline const FilesPlatform& Files() { return Platform<FilesPlatform>(); }

inline void CloseFilesSearch(HANDLE search) { Files().FindClose(search); }
inline void CloseFilesHandle(HANDLE file) { Files().CloseHandle(file); }
// A directory search opened through Files().
using FsSearch = UniqueHandleOf<HANDLE, &CloseFilesSearch, -1>;
// A file or folder opened through Files().
using FsFile = UniqueHandleOf<HANDLE, &CloseFilesHandle, -1>;

} // namespace ov
