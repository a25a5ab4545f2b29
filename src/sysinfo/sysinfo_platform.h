// The platform calls behind the folder, computer-name, user-identity and
// version exports, reached through one table so that tests can answer what
// Wine cannot (a 254-character Windows folder, a group whose lookup fails, a
// damaged version resource).
#pragma once

#include <windows.h>

#include "core/handles.h"
#include "core/platform_binding.h"

namespace ov {

class SystemLibrary;

// clang-format off
#define OV_SYSINFO_CALLS(X)                                                                        \
    X(GetWindowsDirectoryA) X(GetSystemDirectoryA) X(GetTempPathA) X(GetComputerNameA)             \
    X(RegOpenKeyExA) X(RegQueryValueExA) X(RegCloseKey)                                            \
    X(GetUserNameA) X(GetCurrentProcess) X(OpenProcessToken) X(GetTokenInformation)                \
    X(GlobalAlloc) X(GlobalFree) X(LookupAccountSidA) X(CloseHandle) X(VerLanguageNameA)
// clang-format on
// Version.dll's, bound on first use.
#define OV_VERSION_CALLS(X) X(GetFileVersionInfoSizeA) X(GetFileVersionInfoA) X(VerQueryValueA)

struct SysinfoPlatform {
    OV_SYSINFO_CALLS(OV_PLATFORM_MEMBER)
    OV_VERSION_CALLS(OV_PLATFORM_MEMBER)
    static const SysinfoPlatform kSystem;
};

inline const SysinfoPlatform& Sysinfo() { return Platform<SysinfoPlatform>(); }
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
