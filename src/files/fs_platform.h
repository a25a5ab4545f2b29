// The file-system calls of the file jobs, reached through one table so an
// in-process test can put a simulated file system behind them. The module
// itself always uses the real Win32 calls, the wide ones, on long paths.
#pragma once

#include <windows.h>

#include "core/handles.h"

namespace ov {

struct FsPlatform {
    DWORD(WINAPI* GetFullPathNameW)(LPCWSTR path, DWORD size, LPWSTR buffer, LPWSTR* filePart);
    HANDLE(WINAPI* FindFirstFileExW)
    (LPCWSTR pattern, FINDEX_INFO_LEVELS level, LPVOID record, FINDEX_SEARCH_OPS op, LPVOID filter,
     DWORD flags);
    BOOL(WINAPI* FindNextFileW)(HANDLE search, LPWIN32_FIND_DATAW record);
    BOOL(WINAPI* FindClose)(HANDLE search);
    BOOL(WINAPI* CreateDirectoryW)(LPCWSTR path, LPSECURITY_ATTRIBUTES security);
    BOOL(WINAPI* CopyFileW)(LPCWSTR source, LPCWSTR dest, BOOL failIfExists);
    BOOL(WINAPI* DeleteFileW)(LPCWSTR path);
    BOOL(WINAPI* RemoveDirectoryW)(LPCWSTR path);
    HANDLE(WINAPI* CreateFileW)
    (LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
     DWORD flags, HANDLE templateFile);
    BOOL(WINAPI* GetFileTime)
    (HANDLE file, LPFILETIME creation, LPFILETIME access, LPFILETIME write);
    BOOL(WINAPI* GetFileSizeEx)(HANDLE file, PLARGE_INTEGER size);
    BOOL(WINAPI* GetFileInformationByHandle)(HANDLE file, LPBY_HANDLE_FILE_INFORMATION info);
    BOOL(WINAPI* CloseHandle)(HANDLE handle);
};

// The active table: the Win32 calls unless a test has put another in place.
const FsPlatform& Fs();
// For tests only: null puts the Win32 calls back.
void SetFsPlatform(const FsPlatform* platform);

inline void CloseFsSearch(HANDLE search) { Fs().FindClose(search); }
inline void CloseFsHandle(HANDLE file) { Fs().CloseHandle(file); }
// A directory search opened through Fs().
using FsSearch = UniqueHandleOf<HANDLE, &CloseFsSearch, -1>;
// A file or folder opened through Fs().
using FsFile = UniqueHandleOf<HANDLE, &CloseFsHandle, -1>;

} // namespace ov
