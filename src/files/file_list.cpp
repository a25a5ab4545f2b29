#include "files/file_list.h"

#include <algorithm>
#include <cstring>

#include "core/app.h"
#include "core/call_frame.h"
#include "core/result_buffer.h"
#include "files/dir_walk.h"
#include "files/files_platform.h"
#include "files/paths.h"

namespace ov {
namespace {

std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

template <class Before> void SortEntries(std::vector<FileListEntry>& entries, Before before) {
    std::sort(entries.begin(), entries.end(), before);
}

template <std::int64_t FileListEntry::*Key>
void SortByTime(std::vector<FileListEntry>& entries, bool ascending) {
    if (ascending)
        SortEntries(entries, [](const auto& a, const auto& b) { return a.*Key < b.*Key; });
    else
        SortEntries(entries, [](const auto& a, const auto& b) { return a.*Key > b.*Key; });
}

} // namespace

void FileListing::Clear() {
    m_entries.clear();
    m_names.clear();
}

void FileListing::Add(std::string_view name, const WIN32_FIND_DATAW& record) {
    const auto offset = static_cast<std::uint32_t>(m_names.size());
    m_names.insert(m_names.end(), name.begin(), name.end());
    m_names.push_back('\0');
    m_entries.push_back({Ticks(record.ftCreationTime), Ticks(record.ftLastAccessTime),
                         Ticks(record.ftLastWriteTime), offset});
}

void FileListing::Sort(short mode) {
    const bool ascending = mode > 0;
    switch (mode < 0 ? -mode : mode) {
    case 1: {
        // Byte order, as strcmp gives it: case-sensitive, no locale.
        const char* names = m_names.data();
        if (ascending)
            SortEntries(m_entries, [names](const auto& a, const auto& b) {
                return std::strcmp(names + a.nameOffset, names + b.nameOffset) < 0;
            });
        else
            SortEntries(m_entries, [names](const auto& a, const auto& b) {
                return std::strcmp(names + a.nameOffset, names + b.nameOffset) > 0;
            });
        break;
    }
    case 2:
        SortByTime<&FileListEntry::creationTime>(m_entries, ascending);
        break;
    case 3:
        SortByTime<&FileListEntry::lastAccessTime>(m_entries, ascending);
        break;
    case 4:
        SortByTime<&FileListEntry::lastWriteTime>(m_entries, ascending);
        break;
    default:
        break; // the search's order
    }
}

std::optional<std::string> ScriptName(const WIN32_FIND_DATAW& record) {
    // '?' also stands for every character the code page lacks; "<>\"" are
    // wildcards of the search too.
    const auto usable = [](std::wstring_view name) -> std::optional<std::string> {
        if (name.empty() || name.find_first_of(L"*?<>\"") != std::wstring_view::npos) return {};
        return AnsiExactly(name);
    };
    if (std::optional<std::string> name = usable(record.cFileName)) return name;
    return usable(record.cAlternateFileName);
}

} // namespace ov

std::uint64_t CFileListStore::BeginListing() {
    const std::lock_guard lock(m_lock);
    m_list.Clear();
    if (m_list.Capacity() > m_spare.Capacity()) std::swap(m_list, m_spare);
    return ++m_nLatestTicket;
}

ov::FileListing CFileListStore::TakeStorage() {
    const std::lock_guard lock(m_lock);
    ov::FileListing storage = std::move(m_spare);
    m_spare = {};
    storage.Clear();
    return storage;
}

void CFileListStore::Publish(std::uint64_t ticket, ov::FileListing&& listing) {
    const std::lock_guard lock(m_lock);
    if (ticket == m_nLatestTicket) std::swap(m_list, listing);
    KeepSpare(std::move(listing));
}

// Kept empty: a listing that lost to a later one must never come back as the list.
void CFileListStore::KeepSpare(ov::FileListing&& listing) {
    if (listing.Capacity() <= m_spare.Capacity()) return;
    listing.Clear();
    m_spare = std::move(listing);
}

std::size_t CFileListStore::Count() const {
    const std::lock_guard lock(m_lock);
    return m_list.Size();
}

void CFileListStore::CopyName(std::size_t index, ov::ResultBuffer& buffer) const {
    const std::lock_guard lock(m_lock);
    if (index >= m_list.Size()) {
        buffer[0] = '\0';
        return;
    }
    // The name cut to 254 characters, the rest of those 254 bytes and the
    // terminator after them written out: nothing rests on bytes left from before.
    const char* name = m_list.Name(index);
    const std::size_t length = strnlen(name, ov::kMaxResultText);
    std::memcpy(buffer, name, length);
    std::memset(buffer + length, '\0', ov::kMaxResultText + 1 - length);
}

namespace {

ov::ResultBuffer g_name;

} // namespace

IMPLEMENT_DYNCREATE(CFileList)

short COvDEvedApp::GetFileList(const char* pattern, short sortMode) {
    return StartRequest<CFileList>(OV_APP_TRACE(GetFileList), "-1", [&](CFileList& worker) {
        return worker.Start(pattern, sortMode, &ov::ModuleObject(m_pFileList));
    });
}

short COvDEvedApp::GetFileListCount() {
    return ov::CallFrame<short>(OV_APP_TRACE(GetFileListCount), -2, [&]() -> short {
        const CFileListStore* list = m_pFileList.load(std::memory_order_acquire);
        if (!list) return -1;
        // A 16-bit answer: a longer list reads as full, never as a negative "no list".
        return static_cast<short>(std::min<std::size_t>(list->Count(), 32767));
    });
}

const char* COvDEvedApp::GetFileListName(short index) {
    return ov::TextFrame(OV_APP_TRACE(GetFileListName), g_name, [&](ov::ResultBuffer& text) {
        const CFileListStore* list = m_pFileList.load(std::memory_order_acquire);
        if (list && index >= 0) list->CopyName(static_cast<std::size_t>(index), text);
    });
}

BOOL CFileList::Start(const char* pattern, short sortMode, CFileListStore* list) {
    // The list is emptied first: a request that fails from here on, on a bad
    // pattern pointer or a thread that cannot start, leaves no list behind.
    m_pList = list;
    m_nTicket = list->BeginListing();
    m_strPattern = pattern;
    m_nSortMode = sortMode;
    return CreateThread();
}

BOOL CFileList::InitInstance() {
    std::size_t count = 0;
    {
        ov::FileListing listing = m_pList->TakeStorage();
        count = BuildList(m_strPattern.c_str(), listing);
        m_pList->Publish(m_nTicket, std::move(listing));
    }
    return FinishRequest(std::to_string(count));
}

std::size_t CFileList::BuildList(const char* pattern, ov::FileListing& listing) const {
    if (std::optional<ov::SearchRequest> request = ov::SplitSearchPath(pattern)) {
        // The standard level: the short name stands in for a name the code page cannot spell.
        WIN32_FIND_DATAW record;
        const ov::FsSearch search = ov::OpenSearch(request->directory, request->pattern, record,
                                                   FindExInfoStandard, FIND_FIRST_EX_LARGE_FETCH);
        if (search) {
            do {
                if (ov::IsDirectory(record)) continue;
                if (const std::optional<std::string> name = ov::ScriptName(record))
                    listing.Add(*name, record);
            } while (ov::Files().FindNextFileW(search.get(), &record));
        }
    }
    listing.Sort(m_nSortMode);
    return listing.Size();
}
