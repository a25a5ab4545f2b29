#include "sysinfo/sysinfo_platform.h"

#include "core/platform_binding.h"
#include "core/system_library.h"

namespace ov {
namespace {

SystemLibrary g_versionDll{"version.dll"};

// Without version.dll or one of its calls a file reads as having no version
// resource. The language name comes from kernel32, which has it too.
const SysinfoPlatform kSystem = {
    &::GetWindowsDirectoryA,
    &::GetSystemDirectoryA,
    &::GetTempPathA,
    &::GetComputerNameA,
    &::RegOpenKeyExA,
    &::RegQueryValueExA,
    &::RegCloseKey,
    &::GetUserNameA,
    &::GetCurrentProcess,
    &::OpenProcessToken,
    &::GetTokenInformation,
    &::GlobalAlloc,
    &::GlobalFree,
    &::LookupAccountSidA,
    &::CloseHandle,
    OV_LATE_BOUND(g_versionDll, GetFileVersionInfoSizeA, 0),
    OV_LATE_BOUND(g_versionDll, GetFileVersionInfoA, 0),
    OV_LATE_BOUND(g_versionDll, VerQueryValueA, 0),
    &::VerLanguageNameA,
};

PlatformBinding<SysinfoPlatform> g_active{kSystem};

} // namespace

const SysinfoPlatform& Sysinfo() { return g_active.Get(); }

void SetSysinfoForTesting(const SysinfoPlatform* table) { g_active.Replace(table); }

SystemLibrary& VersionLibrary() { return g_versionDll; }

} // namespace ov
