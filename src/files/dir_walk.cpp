#include "files/dir_walk.h"

namespace ov {
namespace {

// NtQueryInformationFile with FileInternalInformation (6) answers the file
// index alone; GetFileInformationByHandle also looks up the volume, which
// costs several times more per directory.
using QueryInformationFile = LONG(WINAPI*)(HANDLE, PVOID ioStatus, PVOID info, ULONG length,
                                           int infoClass);
constexpr int kFileInternalInformation = 6;

QueryInformationFile FileIndexQuery() {
    static const auto query = reinterpret_cast<QueryInformationFile>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationFile")));
    return query;
}

std::optional<ULONGLONG> ReadFileIndex(HANDLE directory) {
    if (const QueryInformationFile query = FileIndexQuery()) {
        ULONG_PTR ioStatus[2] = {};
        LARGE_INTEGER index{};
        if (query(directory, ioStatus, &index, sizeof index, kFileInternalInformation) >= 0)
            return static_cast<ULONGLONG>(index.QuadPart);
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(directory, &info)) return std::nullopt;
    return (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

HANDLE OpenDirectoryHandle(const char* path) {
    // No access rights asked and every sharing mode given: the walk's hold on
    // a directory never stands in anyone's way.
    return CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

} // namespace

OpenDirectory::OpenDirectory(const char* path) : m_handle(OpenDirectoryHandle(path)) {
    if (m_handle) m_index = ReadFileIndex(m_handle.get());
}

bool OpenDirectory::SameAs(const OpenDirectory& other) const {
    if (!Known() || !other.Known() || *m_index != *other.m_index) return false;
    const std::optional<DWORD> mine = VolumeSerial();
    return mine && mine == other.VolumeSerial();
}

std::optional<DWORD> OpenDirectory::VolumeSerial() const {
    if (!m_volume) {
        BY_HANDLE_FILE_INFORMATION info;
        if (GetFileInformationByHandle(m_handle.get(), &info)) m_volume = info.dwVolumeSerialNumber;
    }
    return m_volume;
}

} // namespace ov
