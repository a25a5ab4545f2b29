#include <gtest/gtest.h>

#include "files/files_helpers.h"

using files_test::Outcome;

namespace {

// a.txt, b.txt, c.log, and sub holding d.txt.
void MakeExampleDir(const std::string& root) {
    WriteTextFile(root + "\\a.txt", "a");
    WriteTextFile(root + "\\b.txt", "b");
    WriteTextFile(root + "\\c.log", "c");
    files_test::MakeDir(root + "\\sub");
    WriteTextFile(root + "\\sub\\d.txt", "d");
}

short FileDelete(const std::string& path, short recurse) {
    return OvModule::Get().FileDelete(path.c_str(), recurse);
}

} // namespace

TEST(FilesDelete, PatternInOneDirectory) {
    ScratchDir dir;
    MakeExampleDir(dir.path());
    EXPECT_EQ(Outcome(FileDelete(dir / "*.txt", 0)), "2");
    EXPECT_FALSE(FileExists(dir / "a.txt"));
    EXPECT_FALSE(FileExists(dir / "b.txt"));
    EXPECT_TRUE(FileExists(dir / "c.log"));
    EXPECT_TRUE(FileExists(dir / "sub\\d.txt"));
    EXPECT_EQ(Outcome(FileDelete(dir / "*.txt", 0)), "0");
    EXPECT_EQ(Outcome(FileDelete(dir / "missing\\*.*", 1)), "0");
}

TEST(FilesDelete, EverythingWithAndWithoutRecursion) {
    ScratchDir dir;
    MakeExampleDir(dir.path());
    EXPECT_EQ(Outcome(FileDelete(dir / "*.*", 0)), "3");
    EXPECT_TRUE(FileExists(dir / "sub\\d.txt"));

    MakeExampleDir(dir.path());
    files_test::MakeDir(dir / "sub\\deeper");
    WriteTextFile(dir / "sub\\deeper\\e", "e");
    // 3 + d.txt + e + deeper + sub
    EXPECT_EQ(Outcome(FileDelete(dir / "*.*", 1)), "7");
    EXPECT_FALSE(DirExists(dir / "sub"));
    EXPECT_TRUE(DirExists(dir.path())); // the request's own directory stays
}

TEST(FilesDelete, RecursesOnlyIntoMatchingSubdirectories) {
    ScratchDir dir;
    MakeExampleDir(dir.path());
    files_test::MakeDir(dir / "old.txt");
    WriteTextFile(dir / "old.txt\\x.txt", "x");
    files_test::MakeDir(dir / "keep.txt");
    WriteTextFile(dir / "keep.txt\\y.txt", "y");
    WriteTextFile(dir / "keep.txt\\z.log", "z");
    files_test::MakeDir(dir / ".hidden.txt");
    WriteTextFile(dir / ".hidden.txt\\w.txt", "w");
    // a, b, old.txt\x.txt, old.txt, keep.txt\y.txt
    EXPECT_EQ(Outcome(FileDelete(dir / "*.txt", 1)), "5");
    EXPECT_TRUE(FileExists(dir / "sub\\d.txt"));
    EXPECT_FALSE(DirExists(dir / "old.txt"));
    EXPECT_TRUE(FileExists(dir / "keep.txt\\z.log"));
    EXPECT_FALSE(FileExists(dir / "keep.txt\\y.txt"));
    EXPECT_TRUE(FileExists(dir / ".hidden.txt\\w.txt"));
    EXPECT_TRUE(FileExists(dir / "c.log"));
}

TEST(FilesDelete, SingleFileAndEntriesThatCannotBeDeleted) {
    ScratchDir dir;
    MakeExampleDir(dir.path());
    EXPECT_EQ(Outcome(FileDelete(dir / "a.txt", 0)), "1");
    EXPECT_EQ(Outcome(FileDelete(dir / "a.txt", 0)), "0");

    SetFileAttributesA((dir / "b.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    files_test::LockedFile locked(dir / "sub\\d.txt");
    ASSERT_TRUE(locked.is_open());
    WriteTextFile(dir / "sub\\e.txt", "e");
    // c.log and sub\e.txt; b.txt (read-only), sub\d.txt (in use) and so sub stay.
    EXPECT_EQ(Outcome(FileDelete(dir / "*.*", 1)), "2");
    EXPECT_TRUE(FileExists(dir / "b.txt"));
    EXPECT_TRUE(FileExists(dir / "sub\\d.txt"));
    EXPECT_FALSE(FileExists(dir / "sub\\e.txt"));
}

TEST(FilesDelete, PathWithoutSeparatorStaysInTheCurrentDirectory) {
    ScratchDir dir;
    files_test::MakeDir(dir / "here");
    files_test::MakeDir(dir / "here\\sub.txt");
    WriteTextFile(dir / "here\\a.txt", "a");
    WriteTextFile(dir / "here\\sub.txt\\b.txt", "b");
    WriteTextFile(dir / "a.txt", "elsewhere");
    files_test::MakeDir(dir / "sub.txt");
    WriteTextFile(dir / "sub.txt\\b.txt", "elsewhere");

    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA((dir / "here").c_str()));
    const std::string text = Outcome(FileDelete("*.txt", 1));
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(text, "3");
    EXPECT_FALSE(FileExists(dir / "here\\a.txt"));
    EXPECT_FALSE(DirExists(dir / "here\\sub.txt"));
    EXPECT_TRUE(FileExists(dir / "a.txt"));
    EXPECT_TRUE(FileExists(dir / "sub.txt\\b.txt"));

    // "X:name" names the current directory of drive X.
    WriteTextFile(dir / "here\\c.txt", "c");
    ASSERT_TRUE(SetCurrentDirectoryA((dir / "here").c_str()));
    const std::string onDrive = dir.path().substr(0, 2) + "c.txt";
    const std::string driveText = Outcome(FileDelete(onDrive, 0));
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(driveText, "1");
    EXPECT_FALSE(FileExists(dir / "here\\c.txt"));
}

TEST(FilesDelete, ForwardSlashSplitsLikeABackslash) {
    ScratchDir dir;
    files_test::MakeDir(dir / "sub");
    WriteTextFile(dir / "sub\\a.txt", "a");
    WriteTextFile(dir / "a.txt", "outside");
    EXPECT_EQ(Outcome(FileDelete(dir / "sub/a.txt", 0)), "1");
    EXPECT_FALSE(FileExists(dir / "sub\\a.txt"));
    EXPECT_TRUE(FileExists(dir / "a.txt"));
}

TEST(FilesDelete, DirectoryLinksAreNeverFollowedNorRemoved) {
    ScratchDir dir;
    files_test::MakeDir(dir / "outside");
    WriteTextFile(dir / "outside\\x.txt", "x");
    WriteTextFile(dir / "outside\\y.log", "y");
    files_test::MakeDir(dir / "logs");
    MakeExampleDir(dir / "logs");
    const files_test::DirectoryLink link(dir / "logs\\linked", dir / "outside");
    ASSERT_TRUE(link.Exists()) << "no directory link came at " << dir / "logs\\linked";

    // a.txt, b.txt, c.log, sub\d.txt and sub; the link is passed over.
    EXPECT_EQ(Outcome(FileDelete(dir / "logs\\*.*", 1)), "5");
    EXPECT_TRUE(link.Exists());
    EXPECT_EQ(ReadTextFile(dir / "outside\\x.txt"), "x");
    EXPECT_EQ(ReadTextFile(dir / "outside\\y.log"), "y");
    // Named by a pattern of its own, the link is still not entered.
    EXPECT_EQ(Outcome(FileDelete(dir / "logs\\link*", 1)), "0");
    EXPECT_TRUE(FileExists(dir / "outside\\x.txt"));
}
