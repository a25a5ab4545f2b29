#include "files/dir_walk.h"

namespace ov {
namespace {

// NtQueryInformationFile with FileInternalInformation (6) answers the file
// index alone; GetFileInformationByHandle also looks up the volume, which
// costs several times more per directory. It lives in ntdll, which has no
// import library here, so it is looked up once at run time.
using QueryInformationFile = LONG(WINAPI*)(HANDLE, PVOID ioStatus, PVOID info, ULONG length,
                                           int infoClass);
constexpr int kFileInternalInformation = 6;

QueryInformationFile FileIndexQuery() {
    static const auto query = reinterpret_cast<QueryInformationFile>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationFile")));
    return query;
}

std::optional<ULONGLONG> ReadFileIndex(HANDLE directory) {
    std::optional<ULONGLONG> index;
    ULONG_PTR ioStatus[2] = {};
    LARGE_INTEGER internal{};
    const QueryInformationFile query = FileIndexQuery();
    if (query &&
        query(directory, ioStatus, &internal, sizeof internal, kFileInternalInformation) >= 0) {
        index = static_cast<ULONGLONG>(internal.QuadPart);
    } else {
        BY_HANDLE_FILE_INFORMATION info;
        if (Files().GetFileInformationByHandle(directory, &info))
            index = (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    }
    // File systems without stable ids answer 0 or all ones: no identity at all,
    // or every folder would look like every other.
    if (index && (*index == 0 || *index == ~ULONGLONG{0})) index.reset();
    return index;
}

HANDLE OpenDirectoryHandle(const wchar_t* path) {
    // No access rights asked and every sharing mode given: the walk's hold on
    // a directory never stands in anyone's way.
    return Files().CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

} // namespace

FsSearch OpenSearch(WidePath& directory, std::wstring_view pattern, WIN32_FIND_DATAW& entry,
                    FINDEX_INFO_LEVELS level, DWORD flags) {
    const AppendedName searchPath(directory, pattern);
    FsSearch search(Files().FindFirstFileExW(directory.c_str(), level, &entry,
                                             FindExSearchNameMatch, nullptr, flags));
    // Vista knows neither the basic level nor the large fetch (its last error says so).
    if (!search && GetLastError() == ERROR_INVALID_PARAMETER &&
        (level != FindExInfoStandard || flags))
        search.reset(Files().FindFirstFileExW(directory.c_str(), FindExInfoStandard, &entry,
                                              FindExSearchNameMatch, nullptr, 0));
    return search;
}

OpenDirectory::OpenDirectory(const wchar_t* path) : m_handle(OpenDirectoryHandle(path)) {
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
        if (Files().GetFileInformationByHandle(m_handle.get(), &info))
            m_volume = info.dwVolumeSerialNumber;
    }
    return m_volume;
}

} // namespace ov
