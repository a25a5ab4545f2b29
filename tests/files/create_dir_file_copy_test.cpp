// CreateNewDir and FileCopy on real files.
#include <gtest/gtest.h>

#include <string>

#include "support/ov_module.h"

namespace {

std::string Copy(const std::string& src, const std::string& dst, int failIfExists,
                 int skipIdentical) {
    auto& m = OvModule::Get();
    const short slot = m.FileCopy(src.c_str(), dst.c_str(), static_cast<short>(failIfExists),
                                  static_cast<short>(skipIdentical));
    EXPECT_GE(slot, 0);
    return m.Wait(slot);
}

} // namespace

TEST(FilesCreateNewDir, CreatesEveryMissingLevelAndTrimsOneBackslash) {
    auto& m = OvModule::Get();
    ScratchDir dir;
    std::string path = dir / "a\\b\\c\\";
    EXPECT_EQ(m.CreateNewDir(path.data()), 1);
    EXPECT_EQ(std::string(path.c_str()), dir / "a\\b\\c") << "edited in place";
    EXPECT_TRUE(DirExists(dir / "a\\b\\c"));
    EXPECT_EQ(m.CreateNewDir(path.data()), 0) << "already there";
}

TEST(FilesCreateNewDir, EmptyRootAndTooLongPaths) {
    auto& m = OvModule::Get();
    char empty[1] = "";
    EXPECT_EQ(m.CreateNewDir(empty), 0);
    char root[] = "C:\\";
    EXPECT_EQ(m.CreateNewDir(root), 0);
    EXPECT_STREQ(root, "C:");
    ScratchDir dir;
    // Guard bytes after the text: nothing is written past it.
    std::string longPath = dir / std::string(300 - dir.path().size(), 'n');
    std::string buffer = longPath + std::string(1, '\0') + "GUARD";
    EXPECT_EQ(m.CreateNewDir(buffer.data()), 0);
    EXPECT_EQ(buffer.substr(longPath.size() + 1), "GUARD");
    EXPECT_EQ(buffer.substr(0, longPath.size()), longPath);
}

TEST(FilesCreateNewDir, RelativePathDoesNotCreateItsFirstLevel) {
    auto& m = OvModule::Get();
    ScratchDir dir;
    ASSERT_TRUE(SetCurrentDirectoryA(dir.path().c_str()));
    char path[] = "ab\\c\\d";
    EXPECT_EQ(m.CreateNewDir(path), 0) << "the scan starts at the fourth character";
    EXPECT_FALSE(DirExists(dir / "ab"));
    CreateDirectoryA("ab", nullptr);
    char again[] = "ab\\c\\d";
    EXPECT_EQ(m.CreateNewDir(again), 1);
    EXPECT_TRUE(DirExists(dir / "ab\\c\\d"));
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    SetCurrentDirectoryA(temp);
}

TEST(FilesFileCopy, CopiesAndReportsMissingSource) {
    ScratchDir dir;
    WriteTextFile(dir / "src.txt", "payload");
    EXPECT_EQ(Copy(dir / "src.txt", dir / "dst.txt", 0, 0), "1");
    EXPECT_EQ(ReadTextFile(dir / "dst.txt"), "payload");
    EXPECT_EQ(Copy(dir / "nothing.txt", dir / "dst2.txt", 0, 0), "-1");
    EXPECT_FALSE(FileExists(dir / "dst2.txt"));
    EXPECT_EQ(Copy(dir / "src.txt", dir / "no\\such\\dir\\x.txt", 0, 0), "0");
}

TEST(FilesFileCopy, SkipIdenticalComparesTimeAndSizeOnly) {
    ScratchDir dir;
    WriteTextFile(dir / "src.txt", "12345");
    ASSERT_EQ(Copy(dir / "src.txt", dir / "dst.txt", 0, 0), "1");
    // Same time and size: not copied, even when the content differs.
    WriteTextFile(dir / "dst.txt", "abcde");
    SetWriteTime(dir / "dst.txt", WriteTimeOf(dir / "src.txt"));
    EXPECT_EQ(Copy(dir / "src.txt", dir / "dst.txt", 0, 1), "1");
    EXPECT_EQ(ReadTextFile(dir / "dst.txt"), "abcde");
    // A time difference alone copies.
    ShiftWriteTime(dir / "dst.txt", 10);
    EXPECT_EQ(Copy(dir / "src.txt", dir / "dst.txt", 0, 1), "1");
    EXPECT_EQ(ReadTextFile(dir / "dst.txt"), "12345");
    // A size difference alone copies.
    WriteTextFile(dir / "src.txt", "123456");
    SetWriteTime(dir / "src.txt", WriteTimeOf(dir / "dst.txt"));
    EXPECT_EQ(Copy(dir / "src.txt", dir / "dst.txt", 0, 1), "1");
    EXPECT_EQ(ReadTextFile(dir / "dst.txt"), "123456");
}

TEST(FilesFileCopy, FailIfExistsAndTheSkipComesFirst) {
    ScratchDir dir;
    WriteTextFile(dir / "src.txt", "new");
    WriteTextFile(dir / "dst.txt", "old");
    EXPECT_EQ(Copy(dir / "src.txt", dir / "dst.txt", 1, 0), "0");
    EXPECT_EQ(ReadTextFile(dir / "dst.txt"), "old");
    ASSERT_EQ(Copy(dir / "src.txt", dir / "dst.txt", 0, 0), "1");
    EXPECT_EQ(Copy(dir / "src.txt", dir / "dst.txt", 1, 1), "1")
        << "identical: skipped, not refused";
    EXPECT_EQ(Copy(dir / "src.txt", dir / "dst.txt", 65536, 0), "1") << "65536 acts as 0";
}

TEST(FilesFileCopy, OverlongPathsAreRefusedWithoutTouchingFiles) {
    ScratchDir dir;
    WriteTextFile(dir / "src.txt", "x");
    const std::string longName = dir / std::string(270, 'q');
    EXPECT_EQ(Copy(longName, dir / "dst.txt", 0, 0), "-1");
    EXPECT_EQ(Copy(dir / "src.txt", longName, 0, 0), "0");
    EXPECT_FALSE(FileExists(dir / "dst.txt"));
}

TEST(FilesFileCopy, CallerMayReuseItsTextsAtOnce) {
    auto& m = OvModule::Get();
    ScratchDir dir;
    WriteTextFile(dir / "src.txt", "kept");
    std::string src = dir / "src.txt", dst = dir / "dst.txt";
    const short slot = m.FileCopy(src.c_str(), dst.c_str(), 0, 0);
    src.assign(src.size(), 'z');
    dst.assign(dst.size(), 'z');
    EXPECT_EQ(m.Wait(slot), "1");
    EXPECT_EQ(ReadTextFile(dir / "dst.txt"), "kept");
}
