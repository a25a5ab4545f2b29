#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "files/dir_walk.h"
#include "files/file_copy.h"
#include "files/paths.h"

// Copies a directory tree depth-first; the slot text is the number of files copied.
class CDirCopy : public CCopyWorker {
    DECLARE_WORKER(CDirCopy)
  public:
    BOOL InitInstance() override;

    // Creates dest, then copies source's entries into it; the number of files copied.
    std::uint64_t CopyDirectory(ov::PathBuffer& source, ov::PathBuffer& dest, short failIfExists);

  private:
    std::uint64_t CopyContents(ov::PathBuffer& source, ov::PathBuffer& dest, short failIfExists);
    std::uint64_t CopySubdirectory(ov::PathBuffer& source, ov::PathBuffer& dest,
                                   std::string_view name, short failIfExists);
    bool CopyEntryFile(ov::PathBuffer& source, ov::PathBuffer& dest, const WIN32_FIND_DATAA& entry,
                       short failIfExists);
    bool IsOnWalkOrDestination(const ov::OpenDirectory& directory) const;

    // The source directories the walk is inside, root first. A link back to
    // one of them, or to the destination, would make the walk run without end.
    std::vector<ov::OpenDirectory> m_walkPath;
    std::optional<ov::OpenDirectory> m_destination;
};
