#include "sysinfo/sysinfo_platform.h"

#include "core/platform_binding.h"

namespace ov::sysinfo {
namespace {

const Platform kWin32 = {
    &::GetWindowsDirectoryA, &::GetSystemDirectoryA, &::GetTempPathA,      &::GetComputerNameA,
    &::GetUserNameA,         &::GetCurrentProcess,   &::OpenProcessToken,  &::GetTokenInformation,
    &::GlobalAlloc,          &::GlobalFree,          &::LookupAccountSidA, &::CloseHandle,
};

PlatformBinding<Platform> g_active{kWin32};

} // namespace

const Platform& ActivePlatform() { return g_active.Get(); }

void SetPlatformForTesting(const Platform* platform) { g_active.Replace(platform); }

} // namespace ov::sysinfo
