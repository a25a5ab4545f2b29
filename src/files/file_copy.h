#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/worker.h"

namespace ov {

// A file's last-write time and size, as the skip test compares them.
struct FileStamp {
    FILETIME lastWrite{};
    std::uint64_t size = 0;

    bool operator==(const FileStamp& o) const {
        return lastWrite.dwHighDateTime == o.lastWrite.dwHighDateTime &&
               lastWrite.dwLowDateTime == o.lastWrite.dwLowDateTime && size == o.size;
    }
};

// The stamp a directory search reports for an entry.
FileStamp StampOf(const WIN32_FIND_DATAW& entry);
// Opens a file for reading while others read and write it; INVALID_HANDLE_VALUE on failure.
HANDLE OpenForReading(const wchar_t* path);
// Time and size of an open file; a size that cannot be read counts as 0.
FileStamp ReadStamp(HANDLE file);
// True when the destination exists, can be opened and carries exactly the given stamp.
bool DestinationMatches(const wchar_t* destination, const FileStamp& source);

} // namespace ov

// The request of a file or directory copy: two paths and the two options.
class CCopyWorker : public CSlotWorker {
  public:
    // Stores the arguments, then starts the thread.
    BOOL Start(const char* source, const char* dest, short failIfExists, short skipIdentical);

    std::string m_strSource;
    std::string m_strDest;
    short m_nFailIfExists = 0;
    short m_nSkipIdentical = 0;
};

class CFileCopy : public CCopyWorker {
    DECLARE_WORKER(CFileCopy)
  public:
    BOOL InitInstance() override;
    short CopyOneFile(const wchar_t* source, const wchar_t* dest, short failIfExists);
};
