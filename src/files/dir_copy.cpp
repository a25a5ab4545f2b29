#include "files/dir_copy.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "core/app.h"
#include "core/call_frame.h"
#include "files/files_platform.h"

namespace {

constexpr std::wstring_view kEveryEntry = L"*.*";

// False when the walk must not go into dest: it already exists and may not be replaced.
bool MakeDestination(const ov::WidePath& dest, short failIfExists) {
    if (ov::Files().CreateDirectoryW(dest.c_str(), nullptr)) return true;
    return !(GetLastError() == ERROR_ALREADY_EXISTS && failIfExists); // as the call left it
}

} // namespace

IMPLEMENT_DYNCREATE(CDirCopy)

short COvDEvedApp::DirCopy(const char* source, const char* dest, short failIfExists,
                           short skipIdentical) {
    return StartRequest<CDirCopy>(OV_APP_TRACE(DirCopy), "-1", [&](CDirCopy& worker) {
        return worker.Start(source, dest, failIfExists, skipIdentical);
    });
}

BOOL CDirCopy::InitInstance() {
    std::uint64_t count = 0;
    {
        // An empty text would mean the current drive's root: nothing is copied
        // from or into a folder the caller did not name.
        std::optional<std::wstring> source = ov::LongFolderFromAnsi(m_strSource);
        std::optional<std::wstring> dest = ov::LongFolderFromAnsi(m_strDest);
        if (source && dest) {
            ov::WidePath from(std::move(*source));
            ov::WidePath to(std::move(*dest));
            count = CopyDirectory(from, to, m_nFailIfExists);
        }
    }
    return FinishRequest(std::to_string(count));
}

std::uint64_t CDirCopy::CopyDirectory(ov::WidePath& source, ov::WidePath& dest,
                                      short failIfExists) {
    if (!MakeDestination(dest, failIfExists)) return 0;
    m_destination.emplace(dest.c_str()); // once it exists
    m_walkPath.clear();
    m_walkPath.emplace_back(source.c_str());
    m_sourceRoot = source.size();
    m_dest = dest;
    m_destRoot = dest.size();
    m_failIfExists = failIfExists;
    m_count = 0;
    ov::WalkTree(source, kEveryEntry, *this);
    return m_count;
}

void CDirCopy::Mirror(const ov::WidePath& path) {
    std::wstring_view relative = path.view().substr(m_sourceRoot);
    if (!relative.empty() && relative.front() == L'\\') relative.remove_prefix(1);
    m_dest.Truncate(m_destRoot);
    m_dest.Append(relative);
}

// Counted when copied; a file skipped as identical, or whose copy failed, is not.
void CDirCopy::File(const ov::WidePath& path, const WIN32_FIND_DATAW& entry) {
    Mirror(path);
    // The source's stamp comes from the search record; only the destination is opened.
    if (m_nSkipIdentical && ov::DestinationMatches(m_dest.c_str(), ov::StampOf(entry))) return;
    if (ov::Files().CopyFileW(path.c_str(), m_dest.c_str(), m_failIfExists)) ++m_count;
}

// Links are copied through like folders, but a folder already open on the
// walk's path, or the destination, is never entered. A folder whose identity
// cannot be read is entered; the platform's path limit still ends such a walk.
bool CDirCopy::Enter(const ov::WidePath& path, const WIN32_FIND_DATAW& entry) {
    if (ov::StartsWithDot(entry.cFileName)) return false;
    ov::OpenDirectory directory(path.c_str());
    if (IsOnWalkOrDestination(directory)) return false;
    Mirror(path);
    if (!MakeDestination(m_dest, m_failIfExists)) return false;
    m_walkPath.push_back(std::move(directory));
    return true;
}

void CDirCopy::Leave(const ov::WidePath&) { m_walkPath.pop_back(); }

bool CDirCopy::IsOnWalkOrDestination(const ov::OpenDirectory& directory) const {
    if (m_destination && directory.SameAs(*m_destination)) return true;
    return std::any_of(m_walkPath.begin(), m_walkPath.end(),
                       [&](const ov::OpenDirectory& open) { return directory.SameAs(open); });
}
