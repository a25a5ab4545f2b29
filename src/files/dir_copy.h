#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
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
    std::uint64_t CopyDirectory(ov::WidePath& source, ov::WidePath& dest, short failIfExists);

    // The walk's visits (ov::WalkTree).
    void File(const ov::WidePath& path, const WIN32_FIND_DATAW& entry);
    bool Enter(const ov::WidePath& path, const WIN32_FIND_DATAW& entry);
    void Leave(const ov::WidePath& path);

  private:
    // Points m_dest at the destination of the source entry at path.
    void Mirror(const ov::WidePath& path);
    bool IsOnWalkOrDestination(const ov::OpenDirectory& directory) const;

    std::size_t m_sourceRoot = 0;
    ov::WidePath m_dest;
    std::size_t m_destRoot = 0;
    short m_failIfExists = 0;
    std::uint64_t m_count = 0;
    // The source directories the walk is inside, root first. A link back to
    // one of them, or to the destination, would make the walk run without end.
    std::vector<ov::OpenDirectory> m_walkPath;
    std::optional<ov::OpenDirectory> m_destination;
};
