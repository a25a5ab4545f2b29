// Small helpers shared by the file-operation tests: trees, times and long paths.
#pragma once

#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/handles.h"
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
    const ov::UniqueFile h(CreateFileW(Extended(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h) return false;
    auto ft = [](std::int64_t t) {
        FILETIME f;
        f.dwLowDateTime = static_cast<DWORD>(t);
        f.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(t) >> 32);
        return f;
    };
    const FILETIME c = ft(creation), a = ft(access), w = ft(write);
    return SetFileTime(h.get(), creation ? &c : nullptr, access ? &a : nullptr,
                       write ? &w : nullptr) != FALSE;
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
    bool is_open() const { return static_cast<bool>(m_h); }
    void close() { m_h.reset(); }

  private:
    ov::UniqueFile m_h;
};

// A file of the given size that takes no room: a hole from start to end.
inline bool MakeSparseFile(const std::string& path, std::uint64_t size) {
    const ov::UniqueFile h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return false;
    DWORD returned = 0;
    DeviceIoControl(h.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(h.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(h.get());
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
    const ov::UniqueFile h(CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return h &&
           WriteFile(h.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                     nullptr) &&
           written == content.size();
}
// The file's contents; "(missing)" when it cannot be opened.
inline std::string ReadLongFile(const std::wstring& path) {
    const ov::UniqueFile h(CreateFileW(Extended(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
    if (!h) return "(missing)";
    std::string content(4096, '\0');
    DWORD read = 0;
    ReadFile(h.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
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

// Another name of a folder on drive C: under Wine, the same folder reached
// through drive Z:, the host's root, in Wine's standard prefix layout. For
// paths the test makes of plain ASCII names.
inline std::string SpelledThroughDriveZ(const std::string& path) {
    std::wstring host = HostPath(W(path));
    const std::wstring drive = L"/dosdevices/c:/";
    const std::size_t at = host.find(drive);
    if (at == std::wstring::npos) return {};
    host.replace(at, drive.size(), L"/drive_c/");
    std::replace(host.begin(), host.end(), L'/', L'\\');
    std::string spelled = "Z:";
    for (const wchar_t c : host)
        spelled += static_cast<char>(c);
    return spelled;
}

using ::DirectoryLink;

} // namespace files_test
