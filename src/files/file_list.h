// The module-wide sorted file list behind GetFileList, GetFileListCount and
// GetFileListName, and the worker that builds it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/result_buffer.h"
#include "core/worker.h"

namespace ov {

// One file found: its name (kept in the listing's name store) and three times.
struct FileListEntry {
    std::int64_t creationTime;
    std::int64_t lastAccessTime;
    std::int64_t lastWriteTime;
    std::uint32_t nameOffset;
};

// The entries of one listing. Names live back to back in one store, so adding
// an entry allocates only when the storage kept from earlier listings is outgrown.
class FileListing {
  public:
    void Clear();
    // An entry named name, with the three times of the search's record.
    void Add(std::string_view name, const WIN32_FIND_DATAW& record);
    // Modes 1 to 4 ascending, -1 to -4 descending; any other mode keeps the search's order.
    void Sort(short mode);

    std::size_t Size() const { return m_entries.size(); }
    const char* Name(std::size_t index) const {
        return m_names.data() + m_entries[index].nameOffset;
    }
    std::size_t Capacity() const { return m_entries.capacity() + m_names.capacity(); }

  private:
    std::vector<FileListEntry> m_entries;
    std::vector<char> m_names; // each name with its terminator
};

// The name a script is given for a file found: the name itself when the code
// page spells it exactly, else its short name when that does, else none. A
// name that no file has, a best-fit look-alike or a wildcard, is never given.
std::optional<std::string> ScriptName(const WIN32_FIND_DATAW& record);

} // namespace ov

// The published list. Each listing is built privately by its worker and
// published under a short lock, and only the latest listing started may
// publish: overlapping listings, or reads during one, never see a torn list.
class CFileListStore {
  public:
    // Empties the list for a new listing; the ticket the listing publishes with.
    std::uint64_t BeginListing();
    // Storage for a worker to build into, kept from an earlier listing when there is one.
    ov::FileListing TakeStorage();
    // Makes the listing the list when no later listing has begun since its ticket.
    void Publish(std::uint64_t ticket, ov::FileListing&& listing);

    std::size_t Count() const;
    // Copies the name of entry index, cut to 254 characters and padded with
    // terminators, into buffer; the empty text when there is no such entry.
    void CopyName(std::size_t index, ov::ResultBuffer& buffer) const;

  private:
    void KeepSpare(ov::FileListing&& listing);

    mutable std::mutex m_lock;
    ov::FileListing m_list;
    ov::FileListing m_spare;
    std::uint64_t m_nLatestTicket = 0;
};

class CFileList : public CSlotWorker {
    DECLARE_WORKER(CFileList)
  public:
    BOOL Start(const char* pattern, short sortMode, CFileListStore* list);
    BOOL InitInstance() override;
    // Fills listing with the files matching pattern, sorted; the number of entries.
    std::size_t BuildList(const char* pattern, ov::FileListing& listing) const;

    std::string m_strPattern;
    short m_nSortMode = 0;
    CFileListStore* m_pList = nullptr;
    std::uint64_t m_nTicket = 0;
};
