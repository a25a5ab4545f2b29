#include "files/dir_copy.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "core/app.h"
#include "files/file_copy.h"
#include "files/fs_platform.h"

namespace {

constexpr std::string_view kEveryEntry = "*.*";

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
        if (source.Assign(m_strSource) && ov::CanSearch(source, kEveryEntry) &&
            dest.Assign(m_strDest) && MakeDestination(dest, m_nFailIfExists)) {
            m_destination.emplace(dest.c_str()); // once it exists
            m_walkPath.emplace_back(source.c_str());
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

std::uint64_t CDirCopy::CopyContents(ov::PathBuffer& source, ov::PathBuffer& dest,
                                     short failIfExists) {
    std::uint64_t count = 0;
    ov::ForEachEntry(source, kEveryEntry, [&](const WIN32_FIND_DATAA& entry) {
        const std::string_view name(entry.cFileName);
        const ov::AppendedName from(source, name);
        const ov::AppendedName to(dest, name);
        if (!from || !to) return; // a path that would not fit: skipped, not counted
        if (ov::IsDirectory(entry))
            count += CopySubdirectory(source, dest, name, failIfExists);
        else if (CopyEntryFile(source, dest, entry, failIfExists))
            ++count;
    });
    return count;
}

// Links are copied through like folders, but a folder already open on the
// walk's path, or the destination, is never entered. A folder whose identity
// cannot be read is entered; the path limit still ends such a walk.
std::uint64_t CDirCopy::CopySubdirectory(ov::PathBuffer& source, ov::PathBuffer& dest,
                                         std::string_view name, short failIfExists) {
    if (ov::StartsWithDot(name) || !ov::CanSearch(source, kEveryEntry)) return 0;
    ov::OpenDirectory directory(source.c_str());
    if (IsOnWalkOrDestination(directory)) return 0;
    m_walkPath.push_back(std::move(directory));
    const std::uint64_t count = CopyDirectory(source, dest, failIfExists);
    m_walkPath.pop_back();
    return count;
}

bool CDirCopy::IsOnWalkOrDestination(const ov::OpenDirectory& directory) const {
    if (m_destination && directory.SameAs(*m_destination)) return true;
    return std::any_of(m_walkPath.begin(), m_walkPath.end(),
                       [&](const ov::OpenDirectory& open) { return directory.SameAs(open); });
}

// True when the file was copied; a file skipped as identical, or whose copy failed, is not.
bool CDirCopy::CopyEntryFile(ov::PathBuffer& source, ov::PathBuffer& dest,
                             const WIN32_FIND_DATAA& entry, short failIfExists) {
    if (m_nSkipIdentical) {
        // The source's stamp comes from the search record; only the destination is opened.
        if (ov::DestinationMatches(dest.c_str(), ov::StampOf(entry))) return false;
    }
    return ov::Fs().CopyFileA(source.c_str(), dest.c_str(), failIfExists) != FALSE;
}
