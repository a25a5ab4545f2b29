// Counts above 32767: a directory that large takes Wine minutes to create, so
// the real walks run here over a simulated directory of that many files. And
// the list's store, driven directly where only exact timing would reach it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "core/app.h"
#include "files/file_list.h"
#include "files/fs_platform.h"
#include "support/slot_wait.h"

namespace {

// One flat directory of g_files files named f00000, f00001, ..., written
// newest first; every operation on it succeeds.
int g_files = 0;
int g_next = 0;
int g_copies = 0;
int g_deletes = 0;
HANDLE const kSearch = reinterpret_cast<HANDLE>(0x5EA4);

void Fill(LPWIN32_FIND_DATAA record) {
    std::memset(record, 0, sizeof *record);
    record->dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
    std::snprintf(record->cFileName, sizeof record->cFileName, "f%05d", g_next);
    record->ftLastWriteTime.dwLowDateTime = 1000000 - g_next;
    record->nFileSizeLow = 1;
    ++g_next;
}

HANDLE WINAPI SimFindFirst(LPCSTR, LPWIN32_FIND_DATAA record) {
    g_next = 0;
    if (g_files == 0) return INVALID_HANDLE_VALUE;
    Fill(record);
    return kSearch;
}
BOOL WINAPI SimFindNext(HANDLE search, LPWIN32_FIND_DATAA record) {
    if (search != kSearch || g_next >= g_files) return FALSE;
    Fill(record);
    return TRUE;
}
BOOL WINAPI SimFindClose(HANDLE search) { return search == kSearch; }
BOOL WINAPI SimCreateDirectory(LPCSTR, LPSECURITY_ATTRIBUTES) { return TRUE; }
BOOL WINAPI SimCopyFile(LPCSTR, LPCSTR, BOOL) { return ++g_copies, TRUE; }
BOOL WINAPI SimDeleteFile(LPCSTR) { return ++g_deletes, TRUE; }
BOOL WINAPI SimRemoveDirectory(LPCSTR) { return FALSE; }

const ov::FsPlatform kSimulated = {SimFindFirst,       SimFindNext, SimFindClose,
                                   SimCreateDirectory, SimCopyFile, SimDeleteFile,
                                   SimRemoveDirectory};

class FilesCountRule : public ::testing::Test {
  protected:
    void SetUp() override {
        g_copies = g_deletes = 0;
        ov::SetFsPlatform(&kSimulated);
    }
    void TearDown() override { ov::SetFsPlatform(nullptr); }

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
    WIN32_FIND_DATAA record{};
    for (const std::string& name : names) {
        std::snprintf(record.cFileName, sizeof record.cFileName, "%s", name.c_str());
        listing.Add(record);
    }
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
