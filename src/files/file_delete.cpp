#include "files/file_delete.h"

#include "core/app.h"
#include "core/call_frame.h"
#include "files/dir_walk.h"
#include "files/files_platform.h"

IMPLEMENT_DYNCREATE(CFileDelete)

short COvDEvedApp::FileDelete(const char* path, short recurse) {
    return StartRequest<CFileDelete>(OV_APP_TRACE(FileDelete), "-1", [&](CFileDelete& worker) {
        return worker.Start(path, recurse);
    });
}

BOOL CFileDelete::Start(const char* path, short recurse) {
    m_strPath = path;
    m_nRecurse = recurse;
    return CreateThread();
}

BOOL CFileDelete::InitInstance() {
    std::uint64_t count = 0;
    // The folder is resolved once, so deletions land exactly where the search
    // found the entries; an empty text deletes nothing.
    if (std::optional<ov::SearchRequest> request = ov::SplitSearchPath(m_strPath))
        count = DeleteMatching(request->directory, request->pattern, m_nRecurse);
    return FinishRequest(std::to_string(count));
}

std::uint64_t CFileDelete::DeleteMatching(ov::WidePath& directory, std::wstring_view pattern,
                                          short recurse) {
    m_nRecurse = recurse;
    m_count = 0;
    ov::WalkTree(directory, pattern, *this);
    return m_count;
}

void CFileDelete::File(const ov::WidePath& path, const WIN32_FIND_DATAW&) {
    if (ov::Files().DeleteFileW(path.c_str())) ++m_count;
}

// One search serves files and subdirectories: only matching ones get here. A
// link's contents belong to a folder outside the tree the caller named; the
// link itself stays too.
bool CFileDelete::Enter(const ov::WidePath&, const WIN32_FIND_DATAW& entry) {
    return m_nRecurse && !ov::StartsWithDot(entry.cFileName) && !ov::IsDirectoryLink(entry);
}

void CFileDelete::Leave(const ov::WidePath& path) {
    if (ov::Files().RemoveDirectoryW(path.c_str())) ++m_count;
}
