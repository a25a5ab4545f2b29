#include "sysinfo/sysinfo_platform.h"

#include <atomic>

namespace ov::sysinfo {
namespace {

const Platform kWin32 = {
    &::GetWindowsDirectoryA, &::GetSystemDirectoryA, &::GetTempPathA,      &::GetComputerNameA,
    &::GetUserNameA,         &::GetCurrentProcess,   &::OpenProcessToken,  &::GetTokenInformation,
    &::GlobalAlloc,          &::GlobalFree,          &::LookupAccountSidA, &::CloseHandle,
};

std::atomic<const Platform*> g_active{&kWin32};

} // namespace

const Platform& ActivePlatform() {
    return *g_active.load(std::memory_order_acquire);
}

void SetPlatformForTesting(const Platform* platform) {
    g_active.store(platform ? platform : &kWin32, std::memory_order_release);
}

} // namespace ov::sysinfo
