#include "files/dir_copy.h"

#include <cstring>
#include <string_view>

#include "core/app.h"
#include "files/file_copy.h"
#include "files/fs_platform.h"

namespace {

constexpr std::string_view kEveryEntry = "*.*";

// Full path with long names, so two spellings of one folder compare equal;
// the plain full path for a folder that cannot be resolved further.
std::string ResolvedPath(const char* path) {
    char full[MAX_PATH * 2];
    const DWORD n = GetFullPathNameA(path, sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full) return path;
    char longer[MAX_PATH * 2];
    const DWORD m = GetLongPathNameA(full, longer, sizeof longer);
    std::string resolved =
        (m == 0 || m >= sizeof longer) ? std::string(full, n) : std::string(longer, m);
    while (!resolved.empty() && resolved.back() == '\\')
        resolved.pop_back();
    return resolved;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                          b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool IsDirectory(const WIN32_FIND_DATAA& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// False when the walk must not go into dest: it already exists and may not be replaced.
bool MakeDestination(const ov::PathBuffer& dest, short failIfExists) {
    if (ov::Fs().CreateDirectoryA(dest.c_str(), nullptr)) return true;
    return !(GetLastError() == ERROR_ALREADY_EXISTS && failIfExists);
}

} // namespace

IMPLEMENT_DYNCREATE(CDirCopy)

short COvDEvedApp::DirCopy(const char* source, const char* dest, short failIfExists,
                           short skipIdentical) {
    return StartRequest<CDirCopy>("COvDEvedApp::DirCopy", "-1", [&](CDirCopy& worker) {
        return worker.Start(source, dest, failIfExists, skipIdentical);
    });
}

BOOL CDirCopy::InitInstance() {
    std::uint64_t count = 0;
    {
        ov::PathBuffer source;
        ov::PathBuffer dest;
        // Roots whose paths would not fit copy nothing and touch nothing.
        if (source.Assign(m_strSource) && source.CanAppend(kEveryEntry.size()) &&
            dest.Assign(m_strDest) && MakeDestination(dest, m_nFailIfExists)) {
            FindDestinationInSource(source, dest);
            count = CopyContents(source, dest, m_nFailIfExists);
        }
    }
    return FinishRequest(std::to_string(count));
}

std::uint64_t CDirCopy::CopyDirectory(ov::PathBuffer& source, ov::PathBuffer& dest,
                                      short failIfExists) {
    if (!MakeDestination(dest, failIfExists)) return 0;
    return CopyContents(source, dest, failIfExists);
}

void CDirCopy::FindDestinationInSource(const ov::PathBuffer& source, const ov::PathBuffer& dest) {
    m_nSourceRootLength = source.size();
    // Resolved after the destination exists, so its long name is known.
    const std::string from = ResolvedPath(source.c_str());
    const std::string to = ResolvedPath(dest.c_str());
    if (to.size() > from.size() + 1 && to[from.size()] == '\\' &&
        SameIgnoringCase(std::string_view(to).substr(0, from.size()), from))
        m_strDestBelowSource = to.substr(from.size());
}

bool CDirCopy::IsDestinationTree(const ov::PathBuffer& source) const {
    if (m_strDestBelowSource.empty()) return false;
    return SameIgnoringCase(source.view().substr(m_nSourceRootLength), m_strDestBelowSource);
}

std::uint64_t CDirCopy::CopyContents(ov::PathBuffer& source, ov::PathBuffer& dest,
                                     short failIfExists) {
    WIN32_FIND_DATAA entry;
    ov::FsSearch search;
    {
        const ov::AppendedName pattern(source, kEveryEntry);
        if (!pattern) return 0;
        search.reset(ov::Fs().FindFirstFileA(source.c_str(), &entry));
    }
    if (!search) return 0;

    std::uint64_t count = 0;
    do {
        const std::string_view name(entry.cFileName);
        const ov::AppendedName from(source, name);
        const ov::AppendedName to(dest, name);
        if (!from || !to) continue; // a path that would not fit: skipped, not counted
        if (IsDirectory(entry)) {
            if (name.front() == '.' || IsDestinationTree(source)) continue;
            if (!source.CanAppend(kEveryEntry.size())) continue;
            count += CopyDirectory(source, dest, failIfExists);
        } else if (CopyEntryFile(source, dest, entry, failIfExists)) {
            ++count;
        }
    } while (ov::Fs().FindNextFileA(search.get(), &entry));
    return count;
}

// True when the file was copied; a file skipped as identical, or whose copy failed, is not.
bool CDirCopy::CopyEntryFile(ov::PathBuffer& source, ov::PathBuffer& dest,
                             const WIN32_FIND_DATAA& entry, short failIfExists) {
    if (m_nSkipIdentical) {
        // The source's stamp comes from the search record; only the destination is opened.
        ov::FileStamp stamp;
        stamp.lastWrite = entry.ftLastWriteTime;
        stamp.sizeHigh = entry.nFileSizeHigh;
        stamp.sizeLow = entry.nFileSizeLow;
        if (ov::DestinationMatches(dest.c_str(), stamp)) return false;
    }
    return ov::Fs().CopyFileA(source.c_str(), dest.c_str(), failIfExists) != FALSE;
}
