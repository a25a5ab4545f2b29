#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

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
    bool CopyEntryFile(ov::PathBuffer& source, ov::PathBuffer& dest, const WIN32_FIND_DATAA& entry,
                       short failIfExists);
    bool IsDestinationTree(const ov::PathBuffer& source) const;
    void FindDestinationInSource(const ov::PathBuffer& source, const ov::PathBuffer& dest);

    std::size_t m_nSourceRootLength = 0;
    // When the destination lies inside the source: its path below the source
    // root, starting with '\'. The walk never descends there.
    std::string m_strDestBelowSource;
};
