// The directory-walk calls of the file jobs, reached through one table so an
// in-process test can put a simulated file system behind the walks. The
// module itself always uses the real Win32 calls.
#pragma once

#include <windows.h>

#include "core/handles.h"

namespace ov {

struct FsPlatform {
    HANDLE(WINAPI* FindFirstFileA)(LPCSTR pattern, LPWIN32_FIND_DATAA record);
    BOOL(WINAPI* FindNextFileA)(HANDLE search, LPWIN32_FIND_DATAA record);
    BOOL(WINAPI* FindClose)(HANDLE search);
    BOOL(WINAPI* CreateDirectoryA)(LPCSTR path, LPSECURITY_ATTRIBUTES security);
    BOOL(WINAPI* CopyFileA)(LPCSTR source, LPCSTR dest, BOOL failIfExists);
    BOOL(WINAPI* DeleteFileA)(LPCSTR path);
    BOOL(WINAPI* RemoveDirectoryA)(LPCSTR path);
};

// The active table: the Win32 calls unless a test has put another in place.
const FsPlatform& Fs();
// For tests only: null puts the Win32 calls back.
void SetFsPlatform(const FsPlatform* platform);

inline void CloseFsSearch(HANDLE search) { Fs().FindClose(search); }
// A directory search opened through Fs().
using FsSearch = UniqueHandleOf<HANDLE, &CloseFsSearch, -1>;

} // namespace ov
