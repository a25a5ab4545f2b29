// The scratch folders' clean-up: a link goes as a link, and names and path
// lengths the ANSI calls cannot reach go too.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/handles.h"
#include "support/directory_link.h"
#include "support/ov_module.h"

TEST(ScratchCleanUp, RemovesLinksAsLinksAndAnyNameAtAnyLength) {
    ScratchDir outside;
    WriteTextFile(outside / "kept.txt", "kept");
    ScratchDir dir;
    const DirectoryLink link(dir / "link", outside.path());
    ASSERT_TRUE(link.Exists());
    // A name no one ANSI code page spells, and a path of over 600 characters.
    std::wstring deep = LongForm(Widened(dir.path())) + L"\\Журнал 日志";
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    while (deep.size() < 620) {
        deep += L"\\" + std::wstring(100, L'd');
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr)) << deep.size();
    }
    ASSERT_TRUE(ov::UniqueFile(CreateFileW((deep + L"\\файл.txt").c_str(), GENERIC_WRITE, 0,
                                           nullptr, CREATE_NEW, FILE_ATTRIBUTE_READONLY, nullptr)));

    RemoveTree(dir.path()); // while the link is still there, as after a test that stopped
    EXPECT_FALSE(DirExists(dir.path()));
    EXPECT_FALSE(link.Exists());
    EXPECT_EQ(ReadTextFile(outside / "kept.txt"), "kept") << "what the link pointed to";
}
