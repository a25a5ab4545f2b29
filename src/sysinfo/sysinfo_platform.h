// The platform calls behind the folder, computer-name and user-identity
// exports, reached through one table so that tests can answer what Wine
// cannot (a 254-character Windows folder, a group whose lookup fails).
#pragma once

#include <windows.h>

#include "core/handles.h"

namespace ov::sysinfo {

struct Platform {
    UINT(WINAPI* GetWindowsDirectoryA)(LPSTR buffer, UINT size);
    UINT(WINAPI* GetSystemDirectoryA)(LPSTR buffer, UINT size);
    DWORD(WINAPI* GetTempPathA)(DWORD size, LPSTR buffer);
    BOOL(WINAPI* GetComputerNameA)(LPSTR buffer, LPDWORD size);
    BOOL(WINAPI* GetUserNameA)(LPSTR buffer, LPDWORD size);
    HANDLE(WINAPI* GetCurrentProcess)();
    BOOL(WINAPI* OpenProcessToken)(HANDLE process, DWORD access, PHANDLE token);
    BOOL(WINAPI* GetTokenInformation)
    (HANDLE token, TOKEN_INFORMATION_CLASS infoClass, LPVOID block, DWORD length, PDWORD needed);
    HGLOBAL(WINAPI* GlobalAlloc)(UINT flags, SIZE_T bytes);
    HGLOBAL(WINAPI* GlobalFree)(HGLOBAL block);
    BOOL(WINAPI* LookupAccountSidA)
    (LPCSTR system, PSID sid, LPSTR name, LPDWORD nameSize, LPSTR domain, LPDWORD domainSize,
     PSID_NAME_USE use);
    BOOL(WINAPI* CloseHandle)(HANDLE handle);
};

// The table in use: the real Win32 calls unless a test put its own in place.
const Platform& ActivePlatform();
// Tests only: puts a table in place; nullptr brings back the real one.
void SetPlatformForTesting(const Platform* platform);

// Owners that give their handle back through the active table.
inline void CloseToken(HANDLE token) { ActivePlatform().CloseHandle(token); }
inline void FreeBlock(HGLOBAL block) { ActivePlatform().GlobalFree(block); }
using UniqueToken = UniqueHandleOf<HANDLE, &CloseToken>;
using UniqueBlock = UniqueHandleOf<HGLOBAL, &FreeBlock>;

} // namespace ov::sysinfo
