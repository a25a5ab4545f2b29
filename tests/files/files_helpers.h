// Small helpers shared by the file-operation tests: trees, times and long paths.
#pragma once

#include <windows.h>
#include <winioctl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/directory_link.h"
#include "support/ov_module.h"

namespace files_test {

// Names the code page cannot spell and paths beyond 259 characters need the
// wide calls with the \\?\ prefix.
inline std::wstring W(const std::string& path) { return Widened(path); }
inline std::wstring Extended(const std::wstring& path) { return LongForm(path); }

// Runs a slot-based request to its end and returns its slot text.
inline std::string Outcome(short slot) {
    if (slot < 0) return "no slot";
    return OvModule::Get().Wait(slot);
}

inline void MakeDir(const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); }

// Sets the three times of a file, in 100 ns ticks; 0 leaves a time as it is.
inline bool SetTimes(const std::wstring& path, std::int64_t creation, std::int64_t access,
                     std::int64_t write) {
    HANDLE h = CreateFileW(Extended(path).c_str(), FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    auto ft = [](std::int64_t t) {
        FILETIME f;
        f.dwLowDateTime = static_cast<DWORD>(t);
        f.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(t) >> 32);
        return f;
    };
    const FILETIME c = ft(creation), a = ft(access), w = ft(write);
    const BOOL ok =
        SetFileTime(h, creation ? &c : nullptr, access ? &a : nullptr, write ? &w : nullptr);
    CloseHandle(h);
    return ok != FALSE;
}
inline bool SetTimes(const std::string& path, std::int64_t creation, std::int64_t access,
                     std::int64_t write) {
    return SetTimes(W(path), creation, access, write);
}

// The names a plain search of pattern returns, in its order, directories left out.
inline std::vector<std::string> SearchOrder(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
    while (FindNextFileA(h, &fd));
    FindClose(h);
    return names;
}

// A file held open with no sharing, so others can neither write nor delete it;
// or with the sharing given.
class LockedFile {
  public:
    explicit LockedFile(const std::string& path, DWORD share = 0)
        : m_h(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~LockedFile() { close(); }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    bool is_open() const { return m_h != INVALID_HANDLE_VALUE; }
    void close() {
        if (is_open()) CloseHandle(m_h);
        m_h = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE m_h;
};

// A file of the given size that takes no room: a hole from start to end.
inline bool MakeSparseFile(const std::string& path, std::uint64_t size) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD returned = 0;
    DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool ok = SetFilePointerEx(h, end, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    return ok;
}

inline std::uint64_t SizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

inline bool MakeLongDir(const std::wstring& path) {
    return CreateDirectoryW(Extended(path).c_str(), nullptr) != FALSE;
}
inline bool MakeLongFile(const std::wstring& path, const std::string& content = {}) {
    HANDLE h = CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == content.size();
}
// The file's contents; "(missing)" when it cannot be opened.
inline std::string ReadLongFile(const std::wstring& path) {
    HANDLE h = CreateFileW(Extended(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "(missing)";
    std::string content(4096, '\0');
    DWORD read = 0;
    ReadFile(h, content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(h);
    content.resize(read);
    return content;
}
inline bool LongExists(const std::wstring& path) {
    return GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}
// Names in the folder, "." and ".." left out.
inline std::vector<std::wstring> LongListing(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((Extended(folder) + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do
        if (std::wstring_view(fd.cFileName) != L"." && std::wstring_view(fd.cFileName) != L"..")
            names.push_back(fd.cFileName);
    while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

// The host's path of a Windows path whose folder exists; empty when not under Wine.
inline std::string HostPath(const std::string& path) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return {};
    char* name = unixName(std::wstring(path.begin(), path.end()).c_str());
    if (!name) return {};
    std::string host(name);
    HeapFree(GetProcessHeap(), 0, name);
    return host;
}

// Another name of a folder on drive C: under Wine, the same folder reached
// through drive Z:, the host's root, in Wine's standard prefix layout.
inline std::string SpelledThroughDriveZ(const std::string& path) {
    std::string host = HostPath(path);
    const std::string drive = "/dosdevices/c:/";
    const std::size_t at = host.find(drive);
    if (at == std::string::npos) return {};
    host.replace(at, drive.size(), "/drive_c/");
    for (char& c : host)
        if (c == '/') c = '\\';
    return "Z:" + host;
}

using ::DirectoryLink;

} // namespace files_test
