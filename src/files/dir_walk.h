// The directory walk that DirCopy and FileDelete share: one search per level,
// entries visited in the platform's order, names kept as the platform gives
// them, and directories known by identity rather than by how their paths are spelled.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "files/files_platform.h"
#include "files/paths.h"

namespace ov {

inline bool IsDirectory(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A junction or a directory symbolic link, whose contents belong elsewhere.
// A reparse point whose tag the search does not report is taken for one; a
// placeholder or deduplicated folder (a tag that is no name surrogate) holds
// its own contents and is an ordinary folder.
inline bool IsDirectoryLink(const WIN32_FIND_DATAW& entry) {
    if (!IsDirectory(entry) || !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    const DWORD tag = entry.dwReserved0;
    return tag == 0 || IsReparseTagNameSurrogate(tag);
}

// The walks never descend into such a name; it covers "." and "..".
inline bool StartsWithDot(std::wstring_view name) { return !name.empty() && name.front() == L'.'; }

// Opens a search of directory\pattern and reads its first entry; the walks ask
// for neither short names nor one round trip per entry.
FsSearch OpenSearch(WidePath& directory, std::wstring_view pattern, WIN32_FIND_DATAW& entry,
                    FINDEX_INFO_LEVELS level = FindExInfoBasic,
                    DWORD flags = FIND_FIRST_EX_LARGE_FETCH);

// Walks the tree below root depth-first: each level is searched with pattern
// and its entries visited in the search's order, with path holding the entry:
//   visitor.File(path, entry)   for anything that is not a directory;
//   visitor.Enter(path, entry)  for a directory, true to search it;
//   visitor.Leave(path)         once a directory entered has been searched.
// The levels are kept in a list rather than on the stack, so a tree as deep as
// the platform's paths allow never runs the thread out of stack.
template <class Visitor>
void WalkTree(WidePath& path, std::wstring_view pattern, Visitor& visitor) {
    struct Level {
        FsSearch search;
        std::size_t mark; // size of the path of the folder searched
    };
    std::vector<Level> levels;
    WIN32_FIND_DATAW entry;
    const std::size_t rootMark = path.size();
    if (FsSearch root = OpenSearch(path, pattern, entry))
        levels.push_back({std::move(root), rootMark});
    while (!levels.empty()) {
        const std::size_t mark = levels.back().mark;
        path.Truncate(mark);
        path.Append(entry.cFileName);
        if (!IsDirectory(entry)) {
            visitor.File(path, entry);
        } else if (visitor.Enter(path, entry)) {
            if (FsSearch below = OpenSearch(path, pattern, entry)) {
                levels.push_back({std::move(below), path.size()});
                continue;
            }
            visitor.Leave(path); // nothing matched below, or it could not be read
        }
        // The next entry of this level; a level done is left, and so on up.
        while (!levels.empty() && !Files().FindNextFileW(levels.back().search.get(), &entry)) {
            const std::size_t done = levels.back().mark;
            levels.pop_back();
            if (levels.empty()) break;
            path.Truncate(done);
            visitor.Leave(path);
        }
    }
    path.Truncate(rootMark);
}

// A directory held open while the walk is inside it, known by volume serial
// number and file index. One open per directory; the volume serial is asked
// for only when two file indexes agree, as it costs more than the index.
class OpenDirectory {
  public:
    explicit OpenDirectory(const wchar_t* path);

    // False when the directory could not be opened or has no stable index.
    bool Known() const { return m_index.has_value(); }
    // True when both are known and are the same directory.
    bool SameAs(const OpenDirectory& other) const;

  private:
    std::optional<DWORD> VolumeSerial() const;

    FsFile m_handle;
    std::optional<ULONGLONG> m_index;
    mutable std::optional<DWORD> m_volume;
};

} // namespace ov
