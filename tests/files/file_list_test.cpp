#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "files/files_helpers.h"
#include "support/wait_for.h"

using files_test::Outcome;

namespace {

std::vector<std::string> ListedNames() {
    auto& m = OvModule::Get();
    std::vector<std::string> names;
    const short count = m.GetFileListCount();
    for (short i = 0; i < count; ++i)
        names.push_back(m.GetFileListName(i));
    return names;
}

std::string List(const std::string& pattern, short mode) {
    return Outcome(OvModule::Get().GetFileList(pattern.c_str(), mode));
}

using Names = std::vector<std::string>;

constexpr std::int64_t kDay = 864000000000LL;
constexpr std::int64_t kBase = 132000000000000000LL; // in 2019

} // namespace

TEST(FilesList, NoListBeforeTheFirstListing) {
    auto& m = OvModule::Get();
    EXPECT_EQ(m.GetFileListCount(), -1);
    EXPECT_STREQ(m.GetFileListName(0), "");
}

TEST(FilesList, NamesSortByteWiseBothWays) {
    ScratchDir dir;
    for (const char* name : {"B.txt", "a.txt", "C.txt", "\xE9t\xE9.txt", "a.txt2", "ab.txt"})
        WriteTextFile(dir / name, "x");
    // Upper case before lower case, a prefix before its extensions, bytes from 0x80 last.
    EXPECT_EQ(List(dir / "*", 1), "6");
    EXPECT_EQ(ListedNames(),
              (Names{"B.txt", "C.txt", "a.txt", "a.txt2", "ab.txt", "\xE9t\xE9.txt"}));
    EXPECT_EQ(List(dir / "*", -1), "6");
    EXPECT_EQ(ListedNames(),
              (Names{"\xE9t\xE9.txt", "ab.txt", "a.txt2", "a.txt", "C.txt", "B.txt"}));
    EXPECT_EQ(List(dir / "?.txt", 1), "3");
    EXPECT_EQ(ListedNames(), (Names{"B.txt", "C.txt", "a.txt"}));
    EXPECT_EQ(List(dir / "?.txt", -1), "3");
    EXPECT_EQ(ListedNames(), (Names{"a.txt", "C.txt", "B.txt"}));
}

TEST(FilesList, TimeOrdersOldestAndNewestFirst) {
    ScratchDir dir;
    // Each time key puts the three files in another order; w1 and w2 tie on write time.
    ASSERT_TRUE(
        (WriteTextFile(dir / "x", ""),
         files_test::SetTimes(dir / "x", kBase + 3 * kDay, kBase + 1 * kDay, kBase + 2 * kDay)));
    ASSERT_TRUE(
        (WriteTextFile(dir / "y", ""),
         files_test::SetTimes(dir / "y", kBase + 1 * kDay, kBase + 2 * kDay, kBase + 3 * kDay)));
    ASSERT_TRUE(
        (WriteTextFile(dir / "z", ""),
         files_test::SetTimes(dir / "z", kBase + 2 * kDay, kBase + 3 * kDay, kBase + 1 * kDay)));
    ASSERT_TRUE(
        (WriteTextFile(dir / "w1", ""), files_test::SetTimes(dir / "w1", 0, 0, kBase + 5 * kDay)));
    ASSERT_TRUE(
        (WriteTextFile(dir / "w2", ""), files_test::SetTimes(dir / "w2", 0, 0, kBase + 5 * kDay)));

    EXPECT_EQ(List(dir / "?", 4), "3");
    EXPECT_EQ(ListedNames(), (Names{"z", "x", "y"}));
    EXPECT_EQ(List(dir / "?", -4), "3");
    EXPECT_EQ(ListedNames(), (Names{"y", "x", "z"}));

    // Ties end next to each other, in either order.
    EXPECT_EQ(List(dir / "*", -4), "5");
    Names newest = ListedNames();
    ASSERT_EQ(newest.size(), 5u);
    EXPECT_EQ((std::set<std::string>{newest[0], newest[1]}), (std::set<std::string>{"w1", "w2"}));
    EXPECT_EQ((Names{newest.begin() + 2, newest.end()}), (Names{"y", "x", "z"}));

    // Creation and access times: whatever the platform keeps, the list follows
    // the times its search reports, and the two directions are each other's mirror.
    WIN32_FIND_DATAA fd;
    auto timeOf = [&](const std::string& name, int mode) {
        HANDLE h = FindFirstFileA((dir / name).c_str(), &fd);
        FindClose(h);
        const FILETIME& t = mode == 2 ? fd.ftCreationTime : fd.ftLastAccessTime;
        return (std::int64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    for (short mode : {2, 3}) {
        EXPECT_EQ(List(dir / "?", mode), "3");
        const Names up = ListedNames();
        EXPECT_EQ(List(dir / "?", static_cast<short>(-mode)), "3");
        Names down = ListedNames();
        ASSERT_EQ(up.size(), 3u);
        for (std::size_t i = 1; i < up.size(); ++i) {
            EXPECT_LE(timeOf(up[i - 1], mode), timeOf(up[i], mode)) << "mode " << mode;
            EXPECT_GE(timeOf(down[i - 1], mode), timeOf(down[i], mode)) << "mode " << -mode;
        }
    }
}

TEST(FilesList, OtherModesKeepTheSearchOrder) {
    ScratchDir dir;
    for (const char* name : {"m", "B", "z", "a", "Q"})
        WriteTextFile(dir / name, "x");
    const Names order = files_test::SearchOrder(dir / "*");
    for (short mode : {0, 5, -5, 32767, -32768}) {
        EXPECT_EQ(List(dir / "*", mode), "5");
        EXPECT_EQ(ListedNames(), order) << "mode " << mode;
    }
}

TEST(FilesList, DirectoriesAreNeverListed) {
    ScratchDir dir;
    WriteTextFile(dir / "a.txt", "x");
    files_test::MakeDir(dir / "d.txt");
    WriteTextFile(dir / "d.txt\\inner.txt", "x");
    SetFileAttributesA((dir / "a.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(List(dir / "*.txt", 1), "1");
    EXPECT_EQ(ListedNames(), (Names{"a.txt"}));
    EXPECT_EQ(List(dir / "d.txt", 1), "0"); // a directory named without wildcards
    EXPECT_EQ(List(dir / "none*", 1), "0");
    EXPECT_EQ(List(dir / "missing\\*", 1), "0");
    EXPECT_EQ(OvModule::Get().GetFileListCount(), 0);
    EXPECT_STREQ(OvModule::Get().GetFileListName(0), "");
}

TEST(FilesList, IndexRulesAndTheSharedBuffer) {
    auto& m = OvModule::Get();
    ScratchDir dir;
    for (const char* name : {"one", "two", "three"})
        WriteTextFile(dir / name, "x");
    EXPECT_EQ(List(dir / "*", 1), "3");
    EXPECT_EQ(m.GetFileListCount(), 3);
    const char* first = m.GetFileListName(2);
    EXPECT_STREQ(first, "two");
    EXPECT_STREQ(m.GetFileListName(3), "");
    EXPECT_STREQ(m.GetFileListName(-1), "");
    EXPECT_STREQ(m.GetFileListName(-32768), "");
    EXPECT_EQ(m.GetFileListName(0), first); // one buffer, overwritten by each call
    EXPECT_STREQ(first, "one");
}

TEST(FilesList, LongNameIsCutTo254Characters) {
    ScratchDir dir;
    const std::string name(255, 'n');
    ASSERT_TRUE(files_test::MakeLongFile(files_test::W(dir / name)));
    EXPECT_EQ(List(dir / "n*", 1), "1");
    const char* text = OvModule::Get().GetFileListName(0);
    EXPECT_EQ(std::string(text), name.substr(0, 254));
    EXPECT_EQ(text[254], '\0');
    EXPECT_EQ(text[255], '\0');
    // A pattern past 259 characters is searched like any other.
    EXPECT_EQ(List(dir / name, 1), "1");
    DeleteFileW(files_test::Extended(files_test::W(dir / name)).c_str());
}

TEST(FilesList, ListingWithEverySlotBusyKeepsThePreviousList) {
    auto& m = OvModule::Get();
    ScratchDir dir;
    for (const char* name : {"c", "a", "b"})
        WriteTextFile(dir / name, "x");
    ASSERT_EQ(List(dir / "*", 1), "3");
    std::vector<short> busy;
    for (int i = 0; i < 30; ++i)
        busy.push_back(m.FileCopy("nosuch", "nosuch2", 0, 0));
    ASSERT_EQ(std::count(busy.begin(), busy.end(), -1), 0);
    EXPECT_EQ(m.GetFileList((dir / "b").c_str(), 1), -1);
    EXPECT_EQ(m.GetFileListCount(), 3);
    EXPECT_EQ(ListedNames(), (Names{"a", "b", "c"}));
    m.CollectAll();
    EXPECT_EQ(List(dir / "b", 1), "1");
    EXPECT_EQ(ListedNames(), (Names{"b"}));
}

TEST(FilesList, OverlappingListingsNeverMixAndTheLatestWins) {
    auto& m = OvModule::Get();
    ScratchDir dir;
    files_test::MakeDir(dir / "big");
    files_test::MakeDir(dir / "small");
    for (int i = 0; i < 400; ++i)
        WriteTextFile(dir / "big\\f" + std::to_string(1000 + i), "");
    for (const char* name : {"s1", "s2"})
        WriteTextFile(dir / "small\\" + name, "");

    for (int round = 0; round < 5; ++round) {
        const short big = m.GetFileList((dir / "big\\*").c_str(), 1);
        const short small = m.GetFileList((dir / "small\\*").c_str(), -1);
        // Reading while both run: an empty list or a whole one, never a torn one.
        ASSERT_TRUE(WaitFor(
            [&] {
                const short count = m.GetFileListCount();
                EXPECT_TRUE(count == 0 || count == 2) << count;
                const std::string name = m.GetFileListName(0);
                EXPECT_TRUE(name.empty() || name == "s2" || name == "s1") << name;
                return !m.IsActive(big) && !m.IsActive(small);
            },
            kSlotDeadlineMs, "both listings to end"));
        EXPECT_EQ(m.GetData(big), std::string("400"));
        EXPECT_EQ(m.GetData(small), std::string("2"));
        EXPECT_EQ(ListedNames(), (Names{"s2", "s1"}));
    }
}

TEST(FilesList, ListingThatFailsAfterItsClaimLeavesNoList) {
    auto& m = OvModule::Get();
    ScratchDir dir;
    for (const char* name : {"c", "a", "b"})
        WriteTextFile(dir / name, "x");
    ASSERT_EQ(List(dir / "*", 1), "3");
    // A pattern pointer that faults: the slot was claimed, the worker never starts.
    const short slot = m.GetFileList(reinterpret_cast<const char*>(0x10), 1);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(m.IsActive(slot), 0);
    EXPECT_STREQ(m.GetData(slot), "-1");
    EXPECT_EQ(m.GetFileListCount(), 0);
    EXPECT_STREQ(m.GetFileListName(0), "");
}
