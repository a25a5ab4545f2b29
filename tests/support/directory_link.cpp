#include "support/directory_link.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "core/handles.h"
#include "ovcall/host.h"
#include "support/wait_for.h"

namespace {

std::wstring FullPath(const std::wstring& path) {
    const DWORD need = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(need, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), need, full.data(), nullptr));
    return full;
}

bool LinkExists(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Wine only: runs a host program on the link, then watches the link until it
// comes or goes: Wine gives no process handle for a host program to wait on.
bool HostCommand(const std::wstring& command, const std::wstring& link, bool linkComes) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring text = command;
    if (!CreateProcessW(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    const ov::UniqueHandle thread(process.hThread), host(process.hProcess);
    WaitForSingleObject(host.get(), 10000);
    return WaitFor([&] { return LinkExists(link) == linkComes; }, 5000,
                   linkComes ? "the host's link to come" : "the host's link to go");
}

} // namespace

std::wstring HostPath(const std::wstring& path) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    if (!name) return {};
    std::wstring host(MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, name, -1, host.data(), int(host.size()));
    host.pop_back();
    HeapFree(GetProcessHeap(), 0, name);
    return host;
}

std::wstring Widened(const std::string& ansiPath) {
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, ansiPath.c_str(), -1, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansiPath.c_str(), -1, wide.data(), int(wide.size()));
    wide.pop_back();
    return wide;
}

std::wstring LongForm(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\", 0) == 0) return path;
    const std::wstring full = FullPath(path);
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

DirectoryLink::DirectoryLink(const std::string& link, const std::string& target)
    : m_link(LongForm(Widened(link))) {
    const std::wstring to = LongForm(Widened(target));
    const bool made =
        ovcall::UnderWine()
            ? HostCommand(L"/bin/ln -s \"" + HostPath(to) + L"\" \"" + HostPath(m_link) + L"\"",
                          m_link, true)
            : CreateSymbolicLinkW(m_link.c_str(), to.c_str(),
                                  SYMBOLIC_LINK_FLAG_DIRECTORY |
                                      SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    EXPECT_TRUE(made) << "cannot link " << link << " to " << target;
}

DirectoryLink::~DirectoryLink() {
    if (LinkExists(m_link)) RemoveLink(m_link, true);
}

bool DirectoryLink::Exists() const { return LinkExists(m_link); }

bool RemoveLink(const std::wstring& path, bool toFolder) {
    // Wine removes neither kind of host link itself: RemoveDirectoryW looks
    // into the folder it points to, DeleteFileW refuses.
    if (ovcall::UnderWine())
        return HostCommand(L"/bin/rm -f \"" + HostPath(path) + L"\"", path, false);
    return toFolder ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str());
}
