// The file jobs over trees as plants hold them: names the code page cannot
// spell, names that a best-fit spelling would turn into separators, paths
// past 259 characters, and empty texts. Names are made with the wide calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "files/files_helpers.h"

using namespace files_test;

namespace {

auto& M() { return OvModule::Get(); }
short DirCopy(const std::string& from, const std::string& to) {
    return M().DirCopy(from.c_str(), to.c_str(), 0, 0);
}
short FileDelete(const std::string& path) { return M().FileDelete(path.c_str(), 1); }
std::string Narrow(const std::wstring& path) { return {path.begin(), path.end()}; }

// Makes each path below root: a folder when it ends in '\', else a file
// holding its path (narrowed); checks that root holds such a tree.
void MakeTree(const std::wstring& root, const std::vector<std::wstring>& paths) {
    ASSERT_TRUE(MakeLongDir(root) || LongExists(root));
    for (const std::wstring& path : paths)
        if (path.back() == L'\\')
            ASSERT_TRUE(MakeLongDir(root + L"\\" + path.substr(0, path.size() - 1)));
        else
            ASSERT_TRUE(MakeLongFile(root + L"\\" + path, Narrow(path)));
}
void ExpectTree(const std::wstring& root, const std::vector<std::wstring>& paths) {
    for (const std::wstring& path : paths)
        if (path.back() == L'\\')
            EXPECT_TRUE(LongExists(root + L"\\" + path)) << Narrow(path);
        else
            EXPECT_EQ(ReadLongFile(root + L"\\" + path), Narrow(path));
}

} // namespace

TEST(FilesNames, TreesOutsideTheCodePageAreCopiedDeletedAndListedAsTheyAre) {
    ScratchDir dir;
    const std::vector<std::wstring> tree = {L"plain.txt",
                                            L"\u043f\u0440\u0438\u0432\u0435\u0442.txt",
                                            L"\u6f22\u5b57.txt",
                                            L"Pompa_\u015b.csv",
                                            L"\u0414\u0438\u0440\\",
                                            L"\u0414\u0438\u0440\\inner.txt"};
    MakeTree(W(dir / "src"), tree);
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst")), "5");
    ExpectTree(W(dir / "dst"), tree);
    EXPECT_EQ(Outcome(FileDelete(dir / "dst\\*.*")), "6"); // five files and the folder
    EXPECT_TRUE(LongListing(W(dir / "dst")).empty());

    // Rotation as a script does it: delete the oldest listed file. Every listed
    // name opens its own file, and deleting it takes that one file only.
    const std::wstring logs = W(dir / "logs");
    MakeTree(logs, {L"\u043f\u0440\u0438\u0432\u0435\u0442.txt", L"backup.txt", L"report.txt",
                    L"\u2215\uff3c.txt", L"caf\u00e9.txt"});
    std::int64_t time = 130000000000000000;
    for (const std::wstring& name : LongListing(logs))
        ASSERT_TRUE(SetTimes(logs + L"\\" + name, 0, 0, time += 864000000000));
    const std::string count = Outcome(M().GetFileList((dir / "logs\\*.txt").c_str(), 4));
    ASSERT_EQ(count, std::to_string(M().GetFileListCount()));
    ASSERT_GE(M().GetFileListCount(), 3) << "the names the code page spells are all listed";
    std::vector<std::string> listed;
    for (short i = 0; i < M().GetFileListCount(); ++i) {
        listed.push_back(M().GetFileListName(i));
        EXPECT_EQ(listed.back().find_first_of("?*"), std::string::npos) << listed.back();
        EXPECT_TRUE(FileExists(dir / "logs\\" + listed.back()))
            << listed.back() << " opens nothing";
    }
    if (GetACP() == 1252) {
        EXPECT_NE(std::find(listed.begin(), listed.end(), "caf\xe9.txt"), listed.end());
    }
    const std::size_t before = LongListing(logs).size();
    EXPECT_EQ(Outcome(M().FileDelete((dir / "logs\\" + listed.front()).c_str(), 0)), "1");
    EXPECT_EQ(LongListing(logs).size(), before - 1);
    for (std::size_t i = 0; i < listed.size(); ++i)
        EXPECT_EQ(FileExists(dir / "logs\\" + listed[i]), i > 0) << listed[i];
}

TEST(FilesNames, LookAlikeSeparatorsNeverLeadOutsideTheTree) {
    // U+2215 and U+FF3C, which a best-fit spelling turns into '/' and '\'.
    for (const std::wstring sep : {L"\u2215", L"\uff3c"}) {
        ScratchDir dir;
        const std::wstring base = W(dir.path()), up = L"x" + sep + L".." + sep + L".." + sep;
        const std::vector<std::wstring> outside = {L"plant.ini", L"recipes\\", L"recipes\\r1.rcp",
                                                   L"secret\\", L"secret\\s.txt"};
        MakeTree(base, outside);
        // A best-fit walk would delete plant.ini and recipes beside logs.
        MakeTree(base + L"\\logs",
                 {L".." + sep + L"plant.ini", up + L"recipes\\", up + L"recipes\\r1.rcp"});
        EXPECT_EQ(Outcome(FileDelete(dir / "logs\\*.*")), "3");
        EXPECT_TRUE(LongListing(base + L"\\logs").empty());
        // A best-fit copy would overwrite plant.ini beside dst and read secret beside src.
        const std::vector<std::wstring> crafted = {L".." + sep + L"plant.ini", up + L"secret\\"};
        MakeTree(base + L"\\src", crafted);
        EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst")), "1");
        ExpectTree(base + L"\\dst", crafted);
        EXPECT_TRUE(LongListing(base + L"\\dst\\" + up + L"secret").empty());
        ExpectTree(base, outside);
    }
}

TEST(FilesDepth, TreesPast259CharactersAreCopiedAndDeletedWhole) {
    for (const std::size_t depth : {300u, 600u}) {
        ScratchDir dir;
        // Folders of 40 characters with a file in each, down to about depth characters.
        const std::wstring src = W(dir / "src");
        std::vector<std::wstring> tree;
        for (std::wstring below; src.size() + below.size() + 41 + 6 <= depth;) {
            below += std::wstring(40, L'a' + static_cast<wchar_t>(tree.size() % 26)) + L"\\";
            tree.push_back(below);
            tree.push_back(below + L"f.txt");
        }
        MakeTree(src, tree);
        ASSERT_GE(src.size() + tree.back().size() + 1, depth - 45);

        EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst")), std::to_string(tree.size() / 2));
        ExpectTree(W(dir / "dst"), tree);
        EXPECT_EQ(Outcome(FileDelete(dir / "dst\\*.*")), std::to_string(tree.size()));
        EXPECT_TRUE(LongListing(W(dir / "dst")).empty());
        // The deepest folder named itself (past 259 characters in the deeper tree).
        const std::string deep = Narrow(src + L"\\" + tree[tree.size() - 2]);
        EXPECT_EQ(Outcome(DirCopy(deep, dir / "flat")), "1");
        EXPECT_EQ(Outcome(FileDelete(deep + "*.txt")), "1");
    }
}

TEST(FilesEmptyTexts, CopyAndDeleteNothing) {
    ScratchDir dir;
    MakeTree(W(dir / "src"), {L"a.txt"});
    ASSERT_TRUE(SetCurrentDirectoryA((dir / "src").c_str()));
    const std::string leak = dir.path().substr(0, 3) + "a.txt"; // in the drive's root
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"", dir / "dst"}, {dir / "src", ""}, {"", ""}}) {
        EXPECT_EQ(Outcome(DirCopy(from, to)), "0") << from << " -> " << to;
        EXPECT_FALSE(DirExists(dir / "dst"));
        EXPECT_FALSE(FileExists(leak));
    }
    EXPECT_EQ(Outcome(FileDelete("")), "0");
    EXPECT_TRUE(FileExists(dir / "src\\a.txt"));
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    SetCurrentDirectoryA(temp);
}
