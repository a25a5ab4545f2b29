#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "core/worker.h"
#include "files/paths.h"

// Deletes the files matching a pattern, and with recurse the matching
// subdirectories' matching files and then those subdirectories once empty.
// Directory links are never followed.
// The slot text is the number of entries removed.
class CFileDelete : public CSlotWorker {
    DECLARE_WORKER(CFileDelete)
  public:
    BOOL Start(const char* path, short recurse);
    BOOL InitInstance() override;

    // Deletes what matches pattern in directory, and below; the number of entries removed.
    std::uint64_t DeleteMatching(ov::PathBuffer& directory, std::string_view pattern,
                                 short recurse);

    std::string m_strPath;
    short m_nRecurse = 0;

  private:
    std::uint64_t DeleteSubdirectory(ov::PathBuffer& directory, const WIN32_FIND_DATAA& entry,
                                     std::string_view pattern, short recurse);
};

namespace ov {

// A request path split into the directory the search runs in and the pattern.
struct DeleteRequest {
    std::string directory;
    std::string pattern;
};

// Splits at the last separator. A path without one names entries of the
// current directory (of its drive, for "X:name"), which is resolved to a full
// path here, so deletions land exactly where the search found the entries.
DeleteRequest SplitDeletePath(std::string_view path);

} // namespace ov
