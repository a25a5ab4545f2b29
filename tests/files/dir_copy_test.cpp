#include <gtest/gtest.h>

#include "files/files_helpers.h"

using files_test::Outcome;

namespace {

// 3 files in the root, 2 in sub, and an empty folder.
void MakeExampleTree(const std::string& root) {
    files_test::MakeDir(root);
    WriteTextFile(root + "\\a.txt", "alpha");
    WriteTextFile(root + "\\b.txt", "bravo");
    WriteTextFile(root + "\\c.log", "charlie");
    files_test::MakeDir(root + "\\sub");
    WriteTextFile(root + "\\sub\\d.txt", "delta");
    WriteTextFile(root + "\\sub\\e.bin", "echo");
    files_test::MakeDir(root + "\\empty");
}

short DirCopy(const std::string& from, const std::string& to, short failIfExists,
              short skipIdentical) {
    return OvModule::Get().DirCopy(from.c_str(), to.c_str(), failIfExists, skipIdentical);
}

} // namespace

TEST(FilesDirCopy, CopiesWholeTreeAndCountsFiles) {
    ScratchDir dir;
    MakeExampleTree(dir / "src");
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst", 0, 0)), "5");
    EXPECT_EQ(ReadTextFile(dir / "dst\\a.txt"), "alpha");
    EXPECT_EQ(ReadTextFile(dir / "dst\\c.log"), "charlie");
    EXPECT_EQ(ReadTextFile(dir / "dst\\sub\\d.txt"), "delta");
    EXPECT_EQ(ReadTextFile(dir / "dst\\sub\\e.bin"), "echo");
    EXPECT_TRUE(DirExists(dir / "dst\\empty"));
}

TEST(FilesDirCopy, SkipIdenticalRewritesNothingThenCopiesTheChangedFile) {
    ScratchDir dir;
    MakeExampleTree(dir / "src");
    ASSERT_EQ(Outcome(DirCopy(dir / "src", dir / "dst", 0, 1)), "5");

    // Same size and time but other bytes: only a rewrite would bring "alpha" back.
    const FILETIME stamp = WriteTimeOf(dir / "dst\\a.txt");
    WriteTextFile(dir / "dst\\a.txt", "ALPHA");
    const auto ticks = (std::int64_t(stamp.dwHighDateTime) << 32) | stamp.dwLowDateTime;
    ASSERT_TRUE(files_test::SetTimes(dir / "dst\\a.txt", 0, 0, ticks));
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst", 0, 1)), "0");
    EXPECT_EQ(ReadTextFile(dir / "dst\\a.txt"), "ALPHA");

    WriteTextFile(dir / "src\\sub\\d.txt", "delta, longer now");
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst", 0, 1)), "1");
    EXPECT_EQ(ReadTextFile(dir / "dst\\sub\\d.txt"), "delta, longer now");

    // A destination that differs only in time is copied over.
    ShiftWriteTime(dir / "dst\\b.txt", -3600);
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst", 0, 1)), "1");
    // Without the skip test every file is copied again.
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst", 0, 0)), "5");
}

TEST(FilesDirCopy, FailIfExistsStopsAtAnExistingDirectory) {
    ScratchDir dir;
    MakeExampleTree(dir / "src");
    ASSERT_EQ(Outcome(DirCopy(dir / "src", dir / "dst", 1, 0)), "5");
    WriteTextFile(dir / "src\\new.txt", "new");
    WriteTextFile(dir / "src\\sub\\new.txt", "new");
    WriteTextFile(dir / "src\\a.txt", "changed");
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst", 1, 0)), "0");
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst", 1, 1)), "0");
    EXPECT_FALSE(FileExists(dir / "dst\\new.txt"));
    EXPECT_FALSE(FileExists(dir / "dst\\sub\\new.txt"));
    EXPECT_EQ(ReadTextFile(dir / "dst\\a.txt"), "alpha");

    // Without fail-if-exists the same walk goes on below the existing folder.
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst", 0, 1)), "3");
    EXPECT_EQ(ReadTextFile(dir / "dst\\sub\\new.txt"), "new");
}

TEST(FilesDirCopy, DotDirectoriesSkippedDotFilesCopied) {
    ScratchDir dir;
    files_test::MakeDir(dir / "src");
    WriteTextFile(dir / "src\\.profile", "p");
    files_test::MakeDir(dir / "src\\.cache");
    WriteTextFile(dir / "src\\.cache\\blob", "b");
    files_test::MakeDir(dir / "src\\work");
    WriteTextFile(dir / "src\\work\\.keep", "k");
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst", 0, 0)), "2");
    EXPECT_EQ(ReadTextFile(dir / "dst\\.profile"), "p");
    EXPECT_EQ(ReadTextFile(dir / "dst\\work\\.keep"), "k");
    EXPECT_FALSE(DirExists(dir / "dst\\.cache"));
}

TEST(FilesDirCopy, FilesThatCannotBeCopiedAreNotCounted) {
    ScratchDir dir;
    MakeExampleTree(dir / "src");
    files_test::MakeDir(dir / "dst");
    WriteTextFile(dir / "dst\\a.txt", "old");
    // Held open without sharing: the platform refuses to replace it.
    files_test::LockedFile locked((dir / "dst\\a.txt").c_str());
    ASSERT_TRUE(locked.is_open());
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst", 0, 0)), "4");
    EXPECT_EQ(ReadTextFile(dir / "dst\\b.txt"), "bravo");
    locked.close();
    EXPECT_EQ(ReadTextFile(dir / "dst\\a.txt"), "old");
}

TEST(FilesDirCopy, EmptyOrMissingSourceStillCreatesTheDestination) {
    ScratchDir dir;
    files_test::MakeDir(dir / "empty");
    EXPECT_EQ(Outcome(DirCopy(dir / "empty", dir / "out1", 0, 0)), "0");
    EXPECT_TRUE(DirExists(dir / "out1"));
    EXPECT_EQ(Outcome(DirCopy(dir / "missing", dir / "out2", 0, 0)), "0");
    EXPECT_TRUE(DirExists(dir / "out2"));
    // A destination whose parent is missing: nothing can be copied, nothing counted.
    MakeExampleTree(dir / "src");
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "no\\such\\dst", 0, 0)), "0");
    EXPECT_FALSE(DirExists(dir / "no"));
}

TEST(FilesDirCopy, DestinationInsideTheSourceIsCopiedOnceAndNotEntered) {
    ScratchDir dir;
    MakeExampleTree(dir / "src");
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "src\\backup", 0, 0)), "5");
    EXPECT_EQ(ReadTextFile(dir / "src\\backup\\sub\\d.txt"), "delta");
    EXPECT_FALSE(DirExists(dir / "src\\backup\\backup"));

    // Another spelling of the same folder: other case, a "..", a trailing separator.
    const std::string other = dir / "SRC\\sub\\..\\Backup2\\";
    EXPECT_EQ(Outcome(DirCopy(dir / "src", other, 0, 0)), "10");
    EXPECT_TRUE(FileExists(dir / "src\\backup2\\backup\\a.txt"));
    EXPECT_FALSE(DirExists(dir / "src\\backup2\\backup2"));

    // Deeper down: only that one folder is left out.
    EXPECT_EQ(Outcome(DirCopy(dir / "src\\sub", dir / "src\\sub\\deep", 0, 0)), "2");
    EXPECT_FALSE(DirExists(dir / "src\\sub\\deep\\deep"));

    // A second name of the folder through another drive.
    const std::string throughZ = files_test::SpelledThroughDriveZ(dir / "src");
    if (throughZ.empty()) GTEST_SKIP() << "no second drive reaches this folder";
    ASSERT_TRUE(DirExists(throughZ + "\\sub\\deep")) << throughZ;
    EXPECT_EQ(Outcome(DirCopy(dir / "src", throughZ + "\\viaZ", 0, 0)), "22");
    EXPECT_TRUE(FileExists(dir / "src\\viaZ\\backup2\\backup\\a.txt"));
    EXPECT_FALSE(DirExists(dir / "src\\viaZ\\viaZ"));
}

TEST(FilesDirCopy, LinksAreCopiedThroughButNeverRoundALoop) {
    ScratchDir dir;
    files_test::MakeDir(dir / "outside");
    WriteTextFile(dir / "outside\\data.bin", "data");
    MakeExampleTree(dir / "src");
    // A link out of the tree, two back to its root, one to a sibling folder.
    const files_test::DirectoryLink data(dir / "src\\data", dir / "outside");
    const files_test::DirectoryLink loop(dir / "src\\loop", dir / "src");
    const files_test::DirectoryLink up(dir / "src\\sub\\up", dir / "src");
    const files_test::DirectoryLink alias(dir / "src\\alias", dir / "src\\sub");
    ASSERT_TRUE(data.Exists() && loop.Exists() && up.Exists() && alias.Exists())
        << "no directory links came in " << dir / "src";

    // The 5 files, data.bin through its link, and sub's 2 again by the alias.
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst", 0, 0)), "8");
    EXPECT_EQ(ReadTextFile(dir / "dst\\data\\data.bin"), "data");
    EXPECT_EQ(ReadTextFile(dir / "dst\\alias\\d.txt"), "delta");
    EXPECT_FALSE(DirExists(dir / "dst\\loop"));
    EXPECT_FALSE(DirExists(dir / "dst\\sub\\up"));
    EXPECT_FALSE(DirExists(dir / "dst\\alias\\up"));

    // A destination reached through a link inside the source is not entered either.
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "src\\alias\\copy", 0, 1)), "8");
    EXPECT_FALSE(DirExists(dir / "src\\sub\\copy\\sub\\copy"));
    EXPECT_FALSE(DirExists(dir / "src\\sub\\copy\\alias\\copy"));
}

// Wine writes every byte of a sparse file it copies (4 GiB, about 10 s, more
// with the clean-up), so the copies here are tried against a destination held
// readable but not writable: "0" means a copy was tried, "1" that it was skipped.
TEST(FilesDirCopy, SizeOfFourGiBLessOneIsASizeNotAFailure) {
    ScratchDir dir;
    files_test::MakeDir(dir / "src");
    files_test::MakeDir(dir / "dst");
    const std::string big = dir / "src\\big", copy = dir / "dst\\big";
    constexpr std::uint64_t kSize = 0xFFFFFFFFu;
    ASSERT_TRUE(files_test::MakeSparseFile(big, kSize));
    const FILETIME t = WriteTimeOf(big);
    const std::int64_t time = (std::int64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    auto fileCopy = [&] {
        const files_test::LockedFile held(copy, FILE_SHARE_READ);
        EXPECT_TRUE(held.is_open());
        return Outcome(OvModule::Get().FileCopy(big.c_str(), copy.c_str(), 0, 1));
    };

    // An empty destination of the same time is no copy of it.
    WriteTextFile(copy, "");
    ASSERT_TRUE(files_test::SetTimes(copy, 0, 0, time));
    EXPECT_EQ(fileCopy(), "0");
    EXPECT_EQ(files_test::SizeOf(copy), 0u);

    // One of its size and time is.
    ASSERT_TRUE(files_test::MakeSparseFile(copy, kSize));
    ASSERT_TRUE(files_test::SetTimes(copy, 0, 0, time));
    EXPECT_EQ(fileCopy(), "1");
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst", 0, 1)), "0");
}
