#include "files/file_delete.h"

#include "core/app.h"
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
    WIN32_FIND_DATAA entry;
    ov::FsSearch search;
    {
        const ov::AppendedName search_path(directory, pattern);
        if (!search_path) return 0;
        search.reset(ov::Fs().FindFirstFileA(directory.c_str(), &entry));
    }
    if (!search) return 0;

    std::uint64_t count = 0;
    do {
        const std::string_view name(entry.cFileName);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // One search serves files and subdirectories: only matching ones are visited.
            if (!recurse || name.front() == '.') continue;
            const ov::AppendedName subdirectory(directory, name);
            // A subdirectory that could not be searched is left whole.
            if (!subdirectory || !directory.CanAppend(pattern.size())) continue;
            count += DeleteMatching(directory, pattern, recurse);
            if (ov::Fs().RemoveDirectoryA(directory.c_str())) ++count;
        } else {
            const ov::AppendedName file(directory, name);
            if (file && ov::Fs().DeleteFileA(directory.c_str())) ++count;
        }
    } while (ov::Fs().FindNextFileA(search.get(), &entry));
    return count;
}
