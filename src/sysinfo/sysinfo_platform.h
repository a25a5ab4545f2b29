// The platform calls behind the folder, computer-name, user-identity and
// version exports, reached through one table so that tests can answer what
// Wine cannot (a 254-character Windows folder, a group whose lookup fails, a
// damaged version resource).
#pragma once

#include <windows.h>

#include "core/handles.h"

namespace ov {

class SystemLibrary;

struct SysinfoPlatform {
    decltype(&::GetWindowsDirectoryA) GetWindowsDirectoryA;
    decltype(&::GetSystemDirectoryA) GetSystemDirectoryA;
    decltype(&::GetTempPathA) GetTempPathA;
    decltype(&::GetComputerNameA) GetComputerNameA;
    decltype(&::RegOpenKeyExA) RegOpenKeyExA;
    decltype(&::RegQueryValueExA) RegQueryValueExA;
    decltype(&::RegCloseKey) RegCloseKey;
    decltype(&::GetUserNameA) GetUserNameA;
    decltype(&::GetCurrentProcess) GetCurrentProcess;
    decltype(&::OpenProcessToken) OpenProcessToken;
    decltype(&::GetTokenInformation) GetTokenInformation;
    decltype(&::GlobalAlloc) GlobalAlloc;
    decltype(&::GlobalFree) GlobalFree;
    decltype(&::LookupAccountSidA) LookupAccountSidA;
    decltype(&::CloseHandle) CloseHandle;
    decltype(&::GetFileVersionInfoSizeA) GetFileVersionInfoSizeA;
    decltype(&::GetFileVersionInfoA) GetFileVersionInfoA;
    decltype(&::VerQueryValueA) VerQueryValueA;
    decltype(&::VerLanguageNameA) VerLanguageNameA;
};

// The table in use: the system's calls unless a test has put its own in place.
const SysinfoPlatform& Sysinfo();
// Tests only: puts a table in place; null brings back the system's.
void SetSysinfoForTesting(const SysinfoPlatform* table);
// version.dll, loaded from the system folder on first use; tests may rename it.
SystemLibrary& VersionLibrary();

// Owners that give their handle back through the table in use.
inline void CloseToken(HANDLE token) { Sysinfo().CloseHandle(token); }
inline void FreeBlock(HGLOBAL block) { Sysinfo().GlobalFree(block); }
inline void CloseSysinfoKey(HKEY key) { Sysinfo().RegCloseKey(key); }
using UniqueToken = UniqueHandleOf<HANDLE, &CloseToken>;
using UniqueBlock = UniqueHandleOf<HGLOBAL, &FreeBlock>;
using SysinfoKey = UniqueHandleOf<HKEY, &CloseSysinfoKey>;

} // namespace ov
