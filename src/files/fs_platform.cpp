#include "files/fs_platform.h"

#include "core/platform_binding.h"

namespace ov {
namespace {

const FsPlatform kWin32 = {
    ::GetFullPathNameW, ::FindFirstFileExW, ::FindNextFileW, ::FindClose,
    ::CreateDirectoryW, ::CopyFileW,        ::DeleteFileW,   ::RemoveDirectoryW,
    ::CreateFileW,      ::GetFileTime,      ::GetFileSizeEx, ::GetFileInformationByHandle,
    ::CloseHandle,
};

PlatformBinding<FsPlatform> g_platform{kWin32};

} // namespace

const FsPlatform& Fs() { return g_platform.Get(); }

void SetFsPlatform(const FsPlatform* platform) { g_platform.Replace(platform); }

} // namespace ov
