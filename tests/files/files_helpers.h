// Small helpers shared by the file-operation tests: trees, times and long paths.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/ov_module.h"

namespace files_test {

// Runs a slot-based request to its end and returns its slot text.
inline std::string Outcome(short slot) {
    if (slot < 0) return "no slot";
    return OvModule::Get().Wait(slot);
}

inline void MakeDir(const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); }

// Sets the three times of a file, in 100 ns ticks; 0 leaves a time as it is.
inline bool SetTimes(const std::string& path, std::int64_t creation, std::int64_t access,
                     std::int64_t write) {
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
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

// A file held open with no sharing, so others can neither write nor delete it.
class LockedFile {
  public:
    explicit LockedFile(const std::string& path)
        : m_h(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
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

// Paths beyond 259 characters need the wide calls with the \\?\ prefix.
inline std::wstring Extended(const std::string& path) {
    return L"\\\\?\\" + std::wstring(path.begin(), path.end());
}
inline bool MakeLongDir(const std::string& path) {
    return CreateDirectoryW(Extended(path).c_str(), nullptr) != FALSE;
}
inline bool MakeLongFile(const std::string& path) {
    HANDLE h = CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}
inline bool LongExists(const std::string& path) {
    return GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}
inline void RemoveLongTree(const std::string& path) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((Extended(path) + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::string full = path + "\\" + std::string(name.begin(), name.end());
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveLongTree(full);
            else
                DeleteFileW(Extended(full).c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(Extended(path).c_str());
}

} // namespace files_test
