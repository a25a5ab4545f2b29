#include "files/fs_platform.h"

#include <atomic>

namespace ov {
namespace {

const FsPlatform kWin32 = {
    ::FindFirstFileA, ::FindNextFileA, ::FindClose,        ::CreateDirectoryA,
    ::CopyFileA,      ::DeleteFileA,   ::RemoveDirectoryA,
};

std::atomic<const FsPlatform*> g_platform{&kWin32};

} // namespace

const FsPlatform& Fs() {
    return *g_platform.load(std::memory_order_acquire);
}

void SetFsPlatform(const FsPlatform* platform) {
    g_platform.store(platform ? platform : &kWin32, std::memory_order_release);
}

} // namespace ov
