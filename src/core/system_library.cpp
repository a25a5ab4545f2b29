#include "core/system_library.h"

#include <string>

namespace ov {
namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32 is understood where AddDllDirectory exists
// (Windows 8, and Windows 7 or Vista with update KB2533623); older loaders
// reject the flag, so they get the full path instead.
bool LoaderSearchesSystemFolderOnly() {
    HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    return kernel32 && GetProcAddress(kernel32, "AddDllDirectory");
}

std::string SystemFolderPath(const char* fileName) {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(folder, length) + '\\' + fileName;
}

} // namespace

HMODULE LoadFromSystemFolder(const char* fileName) {
    if (LoaderSearchesSystemFolderOnly())
        return LoadLibraryExA(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    const std::string path = SystemFolderPath(fileName);
    if (path.empty()) return nullptr;
    // The library's own imports are then looked for beside it, not beside the host.
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE SystemLibrary::Module() const {
    if (const char* renamed = m_testName.load()) return LoadFromSystemFolder(renamed);
    std::call_once(m_loaded, [this] { m_module = LoadFromSystemFolder(m_fileName); });
    return m_module;
}

} // namespace ov
