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
    std::uint64_t DeleteMatching(ov::WidePath& directory, std::wstring_view pattern, short recurse);

    // The walk's visits (ov::WalkTree).
    void File(const ov::WidePath& path, const WIN32_FIND_DATAW& entry);
    bool Enter(const ov::WidePath& path, const WIN32_FIND_DATAW& entry);
    void Leave(const ov::WidePath& path);

    std::string m_strPath;
    short m_nRecurse = 0;

  private:
    std::uint64_t m_count = 0;
};
