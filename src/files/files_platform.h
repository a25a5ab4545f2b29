// The file-system calls of the file jobs, reached through one table so an
// in-process test can put a simulated file system behind them. The module
// itself always uses the real Win32 calls, the wide ones, on long paths.
#pragma once

#include <windows.h>

#include "core/handles.h"

namespace ov {

struct FilesPlatform {
    decltype(&::GetFullPathNameW) GetFullPathNameW;
    decltype(&::FindFirstFileExW) FindFirstFileExW;
    decltype(&::FindNextFileW) FindNextFileW;
    decltype(&::FindClose) FindClose;
    decltype(&::CreateDirectoryW) CreateDirectoryW;
    decltype(&::CopyFileW) CopyFileW;
    decltype(&::DeleteFileW) DeleteFileW;
    decltype(&::RemoveDirectoryW) RemoveDirectoryW;
    decltype(&::CreateFileW) CreateFileW;
    decltype(&::GetFileTime) GetFileTime;
    decltype(&::GetFileSizeEx) GetFileSizeEx;
    decltype(&::GetFileInformationByHandle) GetFileInformationByHandle;
    decltype(&::CloseHandle) CloseHandle;
};

// The table in use: the system's calls unless a test has put its own in place.
const FilesPlatform& Files();
// Tests only: puts a table in place; null brings back the system's.
void SetFilesForTesting(const FilesPlatform* table);

inline void CloseFilesSearch(HANDLE search) { Files().FindClose(search); }
inline void CloseFilesHandle(HANDLE file) { Files().CloseHandle(file); }
// A directory search opened through Files().
using FsSearch = UniqueHandleOf<HANDLE, &CloseFilesSearch, -1>;
// A file or folder opened through Files().
using FsFile = UniqueHandleOf<HANDLE, &CloseFilesHandle, -1>;

} // namespace ov
