// The file jobs over trees as plants hold them: names the code page cannot
// spell, names that a best-fit spelling would turn into separators, paths
// past 259 characters, and empty texts. Names are made with the wide calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "files/files_helpers.h"

using files_test::Extended;
using files_test::LongExists;
using files_test::MakeLongDir;
using files_test::MakeLongFile;
using files_test::Outcome;
using files_test::ReadLongFile;
using files_test::W;

namespace {

short DirCopy(const std::string& from, const std::string& to) {
    return OvModule::Get().DirCopy(from.c_str(), to.c_str(), 0, 0);
}
short FileDelete(const std::string& path) { return OvModule::Get().FileDelete(path.c_str(), 1); }

// Makes each path below root: a folder when it ends in '\', else a file holding its own name.
void MakeTree(const std::wstring& root, const std::vector<std::wstring>& paths) {
    ASSERT_TRUE(MakeLongDir(root) || LongExists(root));
    for (const std::wstring& path : paths) {
        const std::wstring full = root + L"\\" + path;
        if (path.back() == L'\\')
            ASSERT_TRUE(MakeLongDir(full.substr(0, full.size() - 1)));
        else
            ASSERT_TRUE(MakeLongFile(full, std::string(full.begin(), full.end())));
    }
}

// Every file of paths is under root with the contents it was made with.
void ExpectFilesAt(const std::wstring& made, const std::wstring& root,
                   const std::vector<std::wstring>& paths) {
    for (const std::wstring& path : paths) {
        if (path.back() == L'\\') continue;
        const std::wstring original = made + L"\\" + path;
        EXPECT_EQ(ReadLongFile(root + L"\\" + path), std::string(original.begin(), original.end()))
            << "copy of entry " << (&path - paths.data());
    }
}

} // namespace

TEST(FilesNames, TreesOutsideTheCodePageAreCopiedDeletedAndListedAsTheyAre) {
    ScratchDir dir;
    const std::wstring src = W(dir / "src"), dst = W(dir / "dst");
    const std::vector<std::wstring> tree = {
        L"plain.txt",
        L"\u043f\u0440\u0438\u0432\u0435\u0442.txt",
        L"\u6f22\u5b57.txt",
        L"Pompa_\u015b.csv",
        L"\u0414\u0438\u0440\\",
        L"\u0414\u0438\u0440\\inner.txt",
    };
    MakeTree(src, tree);
    EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst")), "5");
    ExpectFilesAt(src, dst, tree);
    // Five files and the folder.
    EXPECT_EQ(Outcome(FileDelete(dir / "dst\\*.*")), "6");
    EXPECT_TRUE(files_test::LongListing(dst).empty());
    EXPECT_TRUE(DirExists(dir / "dst"));

    // Rotation as a script does it: delete the oldest listed file. Every listed
    // name opens its own file, and deleting it takes that one file only.
    const std::wstring logs = W(dir / "logs");
    MakeTree(logs, {L"\u043f\u0440\u0438\u0432\u0435\u0442.txt", L"backup.txt", L"report.txt",
                    L"\u2215\uff3c.txt", L"caf\u00e9.txt"});
    const std::int64_t day = 864000000000;
    int age = 5;
    for (const std::wstring& name : files_test::LongListing(logs))
        ASSERT_TRUE(
            files_test::SetTimes(logs + L"\\" + name, 0, 0, 130000000000000000 - day * age--));
    const std::string count =
        Outcome(OvModule::Get().GetFileList((dir / "logs\\*.txt").c_str(), 4));
    auto& m = OvModule::Get();
    ASSERT_EQ(count, std::to_string(m.GetFileListCount()));
    ASSERT_GE(m.GetFileListCount(), 3) << "the names the code page spells are all listed";
    std::vector<std::string> listed;
    for (short i = 0; i < m.GetFileListCount(); ++i) {
        listed.push_back(m.GetFileListName(i));
        EXPECT_EQ(listed.back().find_first_of("?*"), std::string::npos) << listed.back();
        EXPECT_TRUE(FileExists(dir / "logs\\" + listed.back()))
            << listed.back() << " opens nothing";
    }
    if (GetACP() == 1252) {
        EXPECT_NE(std::find(listed.begin(), listed.end(), "caf\xe9.txt"), listed.end());
    }
    const std::size_t before = files_test::LongListing(logs).size();
    EXPECT_EQ(Outcome(m.FileDelete((dir / "logs\\" + listed.front()).c_str(), 0)), "1");
    EXPECT_EQ(files_test::LongListing(logs).size(), before - 1);
    EXPECT_FALSE(FileExists(dir / "logs\\" + listed.front()));
    for (std::size_t i = 1; i < listed.size(); ++i)
        EXPECT_TRUE(FileExists(dir / "logs\\" + listed[i])) << listed[i];
}

TEST(FilesNames, LookAlikeSeparatorsNeverLeadOutsideTheTree) {
    // U+2215 and U+FF3C, which a best-fit spelling turns into '/' and '\'.
    for (const std::wstring sep : {L"\u2215", L"\uff3c"}) {
        ScratchDir dir;
        const std::wstring base = W(dir.path());
        MakeTree(base,
                 {L"plant.ini", L"recipes\\", L"recipes\\r1.rcp", L"secret\\", L"secret\\s.txt"});
        // Named so that a best-fit walk would delete plant.ini and recipes.
        MakeTree(base + L"\\logs",
                 {L".." + sep + L"plant.ini", L"x" + sep + L".." + sep + L".." + sep + L"recipes\\",
                  L"x" + sep + L".." + sep + L".." + sep + L"recipes\\r1.rcp"});
        EXPECT_EQ(Outcome(FileDelete(dir / "logs\\*.*")), "3");
        EXPECT_TRUE(files_test::LongListing(base + L"\\logs").empty());
        EXPECT_TRUE(FileExists(dir / "plant.ini"));
        EXPECT_TRUE(FileExists(dir / "recipes\\r1.rcp"));

        // Named so that a best-fit copy would overwrite plant.ini beside the
        // destination and read secret beside the source.
        const std::wstring secret = L"x" + sep + L".." + sep + L".." + sep + L"secret";
        const std::vector<std::wstring> crafted = {L".." + sep + L"plant.ini", secret + L"\\"};
        MakeTree(base + L"\\src", crafted);
        EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst")), "1");
        ExpectFilesAt(base + L"\\src", base + L"\\dst", crafted);
        EXPECT_TRUE(LongExists(base + L"\\dst\\" + secret));
        EXPECT_TRUE(files_test::LongListing(base + L"\\dst\\" + secret).empty());
        EXPECT_EQ(ReadTextFile(dir / "plant.ini"), dir.path() + "\\plant.ini");
    }
}

TEST(FilesDepth, TreesPast259CharactersAreCopiedAndDeletedWhole) {
    for (const std::size_t depth : {300u, 600u}) {
        ScratchDir dir;
        // Folders of 40 characters, a file at each level, down to depth characters.
        const std::wstring src = W(dir / "src");
        std::vector<std::wstring> tree;
        std::wstring below;
        while (src.size() + below.size() + 41 + 6 <= depth) {
            below += std::wstring(40, L'a' + static_cast<wchar_t>(tree.size() % 26)) + L"\\";
            tree.push_back(below);
            tree.push_back(below + L"f.txt");
        }
        MakeTree(src, tree);
        ASSERT_GE(src.size() + tree.back().size() + 1, depth - 45);
        const std::string files = std::to_string(tree.size() / 2);

        EXPECT_EQ(Outcome(DirCopy(dir / "src", dir / "dst")), files) << depth;
        ExpectFilesAt(src, W(dir / "dst"), tree);
        // The deepest folder named itself (past 259 characters in the deeper tree).
        const std::wstring deep = src + L"\\" + tree[tree.size() - 2];
        const std::string deepText(deep.begin(), deep.end() - 1);
        EXPECT_EQ(Outcome(DirCopy(deepText, dir / "flat")), "1") << depth;
        EXPECT_EQ(Outcome(FileDelete(dir / "dst\\*.*")), std::to_string(tree.size())) << depth;
        EXPECT_TRUE(files_test::LongListing(W(dir / "dst")).empty()) << depth;
        EXPECT_EQ(Outcome(FileDelete(deepText + "\\*.txt")), "1") << depth;
        EXPECT_FALSE(LongExists(deep + L"f.txt")) << depth;
    }
}

TEST(FilesEmptyTexts, CopyAndDeleteNothing) {
    ScratchDir dir;
    MakeTree(W(dir / "src"), {L"a.txt"});
    ASSERT_TRUE(SetCurrentDirectoryA((dir / "src").c_str()));
    char root[4] = {dir.path()[0], ':', '\\', '\0'};
    const std::string leak = std::string(root) + "a.txt";
    struct Row {
        std::string from, to;
    };
    for (const Row& row : {Row{"", dir / "dst"}, Row{dir / "src", ""}, Row{"", ""}}) {
        EXPECT_EQ(Outcome(DirCopy(row.from, row.to)), "0") << row.from << " -> " << row.to;
        EXPECT_FALSE(DirExists(dir / "dst"));
        EXPECT_FALSE(FileExists(leak)) << "copied into the drive's root";
    }
    EXPECT_EQ(Outcome(FileDelete("")), "0");
    EXPECT_TRUE(FileExists(dir / "src\\a.txt"));
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    SetCurrentDirectoryA(temp);
}
