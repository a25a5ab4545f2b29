#include "files/files_platform.h"

#include "core/platform_binding.h"

namespace ov {
namespace {

const FilesPlatform kSystem = {
    &::GetFullPathNameW, &::FindFirstFileExW, &::FindNextFileW, &::FindClose,
    &::CreateDirectoryW, &::CopyFileW,        &::DeleteFileW,   &::RemoveDirectoryW,
    &::CreateFileW,      &::GetFileTime,      &::GetFileSizeEx, &::GetFileInformationByHandle,
    &::CloseHandle,
};

PlatformBinding<FilesPlatform> g_active{kSystem};

} // namespace

const FilesPlatform& Files() { return g_active.Get(); }

void SetFilesForTesting(const FilesPlatform* table) { g_active.Replace(table); }

} // namespace ov
