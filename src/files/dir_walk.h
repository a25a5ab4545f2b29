// The directory walk that DirCopy and FileDelete share: one search per level,
// entries visited in the platform's order, and directories known by identity
// rather than by how their paths are spelled.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "core/handles.h"
#include "files/fs_platform.h"
#include "files/paths.h"

namespace ov {

inline bool IsDirectory(const WIN32_FIND_DATAA& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A junction or a directory symbolic link: its contents belong elsewhere.
inline bool IsDirectoryLink(const WIN32_FIND_DATAA& entry) {
    return IsDirectory(entry) && (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The walks never descend into such a name; it covers "." and "..".
inline bool StartsWithDot(std::string_view name) { return !name.empty() && name.front() == '.'; }

// True when directory, '\' and pattern fit a path, so the directory can be searched.
inline bool CanSearch(const PathBuffer& directory, std::string_view pattern) {
    return directory.CanAppend(pattern.size());
}

// Searches directory\pattern and calls visit(entry) for each entry, in the
// search's order, with directory as it was on entry. Nothing when the pattern
// does not fit, nothing matches, or the directory cannot be read.
template <class Visit>
void ForEachEntry(PathBuffer& directory, std::string_view pattern, Visit&& visit) {
    WIN32_FIND_DATAA entry;
    FsSearch search;
    {
        const AppendedName searchPath(directory, pattern);
        if (!searchPath) return;
        search.reset(Fs().FindFirstFileA(directory.c_str(), &entry));
    }
    if (!search) return;
    do
        visit(entry);
    while (Fs().FindNextFileA(search.get(), &entry));
}

// A directory held open while the walk is inside it, known by volume serial
// number and file index. One open per directory; the volume serial is asked
// for only when two file indexes agree, as it costs more than the index.
class OpenDirectory {
  public:
    explicit OpenDirectory(const char* path);

    // False when the directory could not be opened or its index read.
    bool Known() const { return m_index.has_value(); }
    // True when both are known and are the same directory.
    bool SameAs(const OpenDirectory& other) const;

  private:
    std::optional<DWORD> VolumeSerial() const;

    UniqueFile m_handle;
    std::optional<ULONGLONG> m_index;
    mutable std::optional<DWORD> m_volume;
};

} // namespace ov
