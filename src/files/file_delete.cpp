#include "files/file_delete.h"

#include "core/app.h"
#include "files/dir_walk.h"
#include "files/fs_platform.h"

namespace ov {

DeleteRequest SplitDeletePath(std::string_view path) {
    // '/' is a separator to the platform too; splitting only at '\' would
    // delete files in a folder the search never looked at.
    const std::size_t cut = path.find_last_of("\\/");
    if (cut != std::string_view::npos)
        return {std::string(path.substr(0, cut)), std::string(path.substr(cut + 1))};

    const bool onDrive = path.size() >= 2 && path[1] == ':';
    const std::string where = onDrive ? std::string(path.substr(0, 2)) : std::string(".");
    char full[MAX_PATH * 2];
    const DWORD n = GetFullPathNameA(where.c_str(), sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full) return {}; // no directory to search: nothing matches
    std::string directory(full, n);
    if (!directory.empty() && directory.back() == '\\') directory.pop_back(); // a drive root
    return {std::move(directory), std::string(path.substr(onDrive ? 2 : 0))};
}

} // namespace ov

IMPLEMENT_DYNCREATE(CFileDelete)

short COvDEvedApp::FileDelete(const char* path, short recurse) {
    return StartRequest<CFileDelete>("COvDEvedApp::FileDelete", "-1", [&](CFileDelete& worker) {
        return worker.Start(path, recurse);
    });
}

BOOL CFileDelete::Start(const char* path, short recurse) {
    m_strPath = path;
    m_nRecurse = recurse;
    return CreateThread(0, 0, nullptr);
}

BOOL CFileDelete::InitInstance() {
    std::uint64_t count = 0;
    {
        const ov::DeleteRequest request = ov::SplitDeletePath(m_strPath);
        ov::PathBuffer directory;
        if (!request.pattern.empty() && directory.Assign(request.directory))
            count = DeleteMatching(directory, request.pattern, m_nRecurse);
    }
    return FinishRequest(std::to_string(count));
}

std::uint64_t CFileDelete::DeleteMatching(ov::PathBuffer& directory, std::string_view pattern,
                                          short recurse) {
    std::uint64_t count = 0;
    ov::ForEachEntry(directory, pattern, [&](const WIN32_FIND_DATAA& entry) {
        if (ov::IsDirectory(entry)) {
            if (recurse) count += DeleteSubdirectory(directory, entry, pattern, recurse);
        } else {
            const ov::AppendedName file(directory, entry.cFileName);
            if (file && ov::Fs().DeleteFileA(directory.c_str())) ++count;
        }
    });
    return count;
}

// One search serves files and subdirectories: only matching ones get here.
std::uint64_t CFileDelete::DeleteSubdirectory(ov::PathBuffer& directory,
                                              const WIN32_FIND_DATAA& entry,
                                              std::string_view pattern, short recurse) {
    const std::string_view name(entry.cFileName);
    // A link's contents belong to a folder outside the tree the caller named;
    // the link itself stays too.
    if (ov::StartsWithDot(name) || ov::IsDirectoryLink(entry)) return 0;
    const ov::AppendedName subdirectory(directory, name);
    // A subdirectory that could not be searched is left whole.
    if (!subdirectory || !ov::CanSearch(directory, pattern)) return 0;
    std::uint64_t count = DeleteMatching(directory, pattern, recurse);
    if (ov::Fs().RemoveDirectoryA(directory.c_str())) ++count;
    return count;
}
