// What a real directory under Wine cannot show, run over a simulated file
// system: counts above 32767 (a directory that large takes Wine minutes to
// create), reparse tags (Wine 8 reports none), and the list's store, driven
// directly where only exact timing would reach it. And the rule that names the
// listed files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <iterator>
#include <optional>
#include <set>
#include <cstring>

#include "core/app.h"
#include "files/file_list.h"
#include "files/files_platform.h"
#include "support/wait_for.h"

namespace {

// One flat directory of g_files files named f00000, f00001, ..., written
// newest first; every operation on it succeeds.
int g_files = 0;
int g_next = 0;
int g_copies = 0;
int g_deletes = 0;
HANDLE const kSearch = reinterpret_cast<HANDLE>(0x5EA4);

void Fill(LPVOID out) {
    auto* record = static_cast<LPWIN32_FIND_DATAW>(out);
    std::memset(record, 0, sizeof *record);
    record->dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
    std::swprintf(record->cFileName, MAX_PATH, L"f%05d", g_next);
    record->ftLastWriteTime.dwLowDateTime = 1000000 - g_next;
    record->nFileSizeLow = 1;
    ++g_next;
}

HANDLE WINAPI SimFindFirst(LPCWSTR, FINDEX_INFO_LEVELS, LPVOID record, FINDEX_SEARCH_OPS, LPVOID,
                           DWORD) {
    g_next = 0;
    if (g_files == 0) return INVALID_HANDLE_VALUE;
    Fill(record);
    return kSearch;
}
BOOL WINAPI SimFindNext(HANDLE search, LPWIN32_FIND_DATAW record) {
    if (search != kSearch || g_next >= g_files) return FALSE;
    Fill(record);
    return TRUE;
}
BOOL WINAPI SimFindClose(HANDLE search) { return search == kSearch; }
BOOL WINAPI SimCreateDirectory(LPCWSTR, LPSECURITY_ATTRIBUTES) { return TRUE; }
BOOL WINAPI SimCopyFile(LPCWSTR, LPCWSTR, BOOL) { return ++g_copies, TRUE; }
BOOL WINAPI SimDeleteFile(LPCWSTR) { return ++g_deletes, TRUE; }
BOOL WINAPI SimRemoveDirectory(LPCWSTR) { return FALSE; }

const ov::FilesPlatform kSimulated = {
    ::GetFullPathNameW, SimFindFirst,  SimFindNext,     SimFindClose,
    SimCreateDirectory, SimCopyFile,   SimDeleteFile,   SimRemoveDirectory,
    ::CreateFileW,      ::GetFileTime, ::GetFileSizeEx, ::GetFileInformationByHandle,
    ::CloseHandle};

class FilesCountRule : public ::testing::Test {
  protected:
    void SetUp() override {
        g_copies = g_deletes = 0;
        ov::SetPlatformForTesting(&kSimulated);
    }
    void TearDown() override { ov::SetPlatformForTesting<ov::FilesPlatform>(nullptr); }

    static std::string Wait(short slot) { return WaitForSlot(TheApp(), slot); }
};

} // namespace

TEST_F(FilesCountRule, DirCopyAndFileDeleteCountPast32767) {
    g_files = 40000;
    EXPECT_EQ(Wait(TheApp().DirCopy("C:\\wide", "C:\\wide-copy", 0, 0)), "40000");
    EXPECT_EQ(g_copies, 40000);
    EXPECT_EQ(Wait(TheApp().FileDelete("C:\\wide\\*.*", 1)), "40000");
    EXPECT_EQ(g_deletes, 40000);
}

TEST_F(FilesCountRule, ListPast32767ReadsAsFullNeverNegative) {
    auto& app = TheApp();
    g_files = 32767;
    EXPECT_EQ(Wait(app.GetFileList("C:\\wide\\*", 1)), "32767");
    EXPECT_EQ(app.GetFileListCount(), 32767);
    EXPECT_STREQ(app.GetFileListName(32766), "f32766");

    g_files = 32768;
    EXPECT_EQ(Wait(app.GetFileList("C:\\wide\\*", 1)), "32768");
    EXPECT_EQ(app.GetFileListCount(), 32767);
    EXPECT_STREQ(app.GetFileListName(32767), "f32767");
    EXPECT_STREQ(app.GetFileListName(-1), "");

    // Oldest first: f39999 leads, so index 32767 holds f07232.
    g_files = 40000;
    EXPECT_EQ(Wait(app.GetFileList("C:\\wide\\*", 4)), "40000");
    EXPECT_EQ(app.GetFileListCount(), 32767);
    EXPECT_STREQ(app.GetFileListName(0), "f39999");
    EXPECT_STREQ(app.GetFileListName(32767), "f07232");
}

namespace {

ov::FileListing Listing(std::initializer_list<std::string> names) {
    ov::FileListing listing;
    const WIN32_FIND_DATAW record{};
    for (const std::string& name : names)
        listing.Add(name, record);
    return listing;
}

} // namespace

TEST(FilesListStore, ListingOvertakenByALaterOneNeverComesBack) {
    CFileListStore store;
    const auto first = store.BeginListing();
    const auto second = store.BeginListing();
    // The later listing, larger, publishes first; the earlier, smaller one is too late.
    store.Publish(second, Listing({"later listing 1", "later listing 2", "later listing 3",
                                   "later listing 4"}));
    store.Publish(first, Listing({"s1", "s2"}));
    EXPECT_EQ(store.Count(), 4u);
    store.BeginListing();
    EXPECT_EQ(store.Count(), 0u) << "a new listing starts from an empty list";
    EXPECT_EQ(store.TakeStorage().Size(), 0u);
}

TEST(FilesListStore, NameIsCutAndTerminatedWhateverTheBufferHeld) {
    CFileListStore store;
    store.Publish(store.BeginListing(), Listing({std::string(255, 'n'), "short"}));
    ov::ResultBuffer buffer;
    for (std::size_t index : {0u, 1u}) {
        std::memset(buffer, 'X', sizeof buffer);
        store.CopyName(index, buffer);
        const std::string expected = index == 0 ? std::string(254, 'n') : "short";
        EXPECT_EQ(std::string(buffer), expected);
        EXPECT_EQ(std::string(buffer + expected.size(), ov::kMaxResultText + 1 - expected.size()),
                  std::string(ov::kMaxResultText + 1 - expected.size(), '\0'));
    }
}

namespace {

// A root of folders, each holding one file f, whose search reports the
// folders' reparse tags as a Windows file system does.
struct TaggedFolder {
    const wchar_t* name;
    DWORD tag; // with FILE_ATTRIBUTE_REPARSE_POINT unless kNoReparse
    bool emptied;
};
constexpr DWORD kNoReparse = ~DWORD{0};
const TaggedFolder kTagged[] = {
    {L"plain", kNoReparse, true},
    {L"junction", IO_REPARSE_TAG_MOUNT_POINT, false},
    {L"symlink", IO_REPARSE_TAG_SYMLINK, false},
    {L"untagged", 0, false},             // as Wine reports every link
    {L"placeholder", 0x9000601A, true},  // a cloud-file placeholder
    {L"deduplicated", 0x80000013, true}, // a deduplicated folder
};

std::set<std::wstring> g_removed;
std::size_t g_cursor[2]; // of the root's search and of the one folder's search open below it

WIN32_FIND_DATAW Record(const wchar_t* name, DWORD attributes, DWORD tag) {
    WIN32_FIND_DATAW record{};
    record.dwFileAttributes = attributes;
    record.dwReserved0 = tag;
    std::wcsncpy(record.cFileName, name, MAX_PATH - 1);
    return record;
}

HANDLE SearchOf(bool root) { return reinterpret_cast<HANDLE>(root ? 0x100 : 0x200); }

BOOL WINAPI TaggedFindNext(HANDLE search, LPWIN32_FIND_DATAW out) {
    const bool root = search == SearchOf(true);
    std::size_t& at = g_cursor[root];
    if (at >= (root ? std::size(kTagged) : 1)) return FALSE;
    const DWORD tag = root ? kTagged[at].tag : kNoReparse;
    const DWORD folder = root ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    *out = Record(root ? kTagged[at].name : L"f",
                  folder | (tag == kNoReparse ? 0 : FILE_ATTRIBUTE_REPARSE_POINT),
                  tag == kNoReparse ? 0 : tag);
    return ++at, TRUE;
}
HANDLE WINAPI TaggedFindFirst(LPCWSTR pattern, FINDEX_INFO_LEVELS, LPVOID out, FINDEX_SEARCH_OPS,
                              LPVOID, DWORD) {
    const std::wstring_view p(pattern), rootSearch(L"\\root\\*.*");
    const bool root =
        p.size() >= rootSearch.size() && p.substr(p.size() - rootSearch.size()) == rootSearch;
    g_cursor[root] = 0;
    TaggedFindNext(SearchOf(root), static_cast<LPWIN32_FIND_DATAW>(out));
    return SearchOf(root);
}
BOOL WINAPI TaggedFindClose(HANDLE) { return TRUE; }
BOOL WINAPI TaggedDelete(LPCWSTR path) { return g_removed.insert(path).second; }

} // namespace

TEST(FilesDeleteReparseTags, OnlyNameSurrogatesAndUntaggedLinksArePassedOver) {
    ov::FilesPlatform fs = kSimulated;
    fs.FindFirstFileExW = TaggedFindFirst;
    fs.FindNextFileW = TaggedFindNext;
    fs.FindClose = TaggedFindClose;
    fs.DeleteFileW = fs.RemoveDirectoryW = TaggedDelete;
    g_removed.clear();
    ov::SetPlatformForTesting(&fs);
    const std::string outcome = WaitForSlot(TheApp(), TheApp().FileDelete("C:\\root\\*.*", 1));
    ov::SetPlatformForTesting<ov::FilesPlatform>(nullptr);

    std::set<std::wstring> expected;
    for (const TaggedFolder& f : kTagged) {
        if (!f.emptied) continue;
        expected.insert(L"\\\\?\\C:\\root\\" + std::wstring(f.name) + L"\\f");
        expected.insert(L"\\\\?\\C:\\root\\" + std::wstring(f.name));
    }
    EXPECT_EQ(g_removed, expected);
    EXPECT_EQ(outcome, std::to_string(expected.size()));
}

TEST(FilesScriptName, ANameIsGivenOnlyAsTheCodePageSpellsIt) {
    if (GetACP() != 1252) GTEST_SKIP() << "the rows are written for code page 1252";
    struct Row {
        const wchar_t* name;
        const wchar_t* shortName;
        std::optional<std::string> listed;
    };
    const Row rows[] = {
        {L"plain.txt", L"", "plain.txt"},
        {L"Pompa_\u00e9.csv", L"", "Pompa_\xe9.csv"},           // in the code page
        {L"Pompa_\u015b.csv", L"POMPA_~1.CSV", "POMPA_~1.CSV"}, // best fit would say 's'
        {L"\u043f\u0440\u0438.txt", L"", std::nullopt},         // no short name to stand in
        {L"..\u2215plant.ini", L"", std::nullopt},              // best fit would say '/'
        {L"x\uff3c..\uff3cy", L"X__Y~1", "X__Y~1"},             // best fit would say '\\'
        {L"\u6f22\u5b57.txt", L"?.TXT", std::nullopt},          // a wildcard is no name
    };
    for (const Row& row : rows) {
        WIN32_FIND_DATAW record = Record(row.name, FILE_ATTRIBUTE_NORMAL, 0);
        std::wcsncpy(record.cAlternateFileName, row.shortName, 13);
        EXPECT_EQ(ov::ScriptName(record), row.listed) << row.listed.value_or("(left out)");
    }
}
