#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "sysinfo/version_info.h"

namespace {

std::string BesideProgram(const std::string& name) {
    char self[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dir(self, n);
    return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

std::string VersionDll(const std::string& name) { return BesideProgram("ovver_" + name + ".dll"); }

void ExpectEmpty(const CVersionInfo& reader) {
    EXPECT_FALSE(reader.IsLoaded());
    EXPECT_EQ(reader.GetLanguage(), 0);
    EXPECT_EQ(reader.GetCodePage(), 0);
    EXPECT_EQ(reader.GetStringTablePath(), "");
    EXPECT_EQ(reader.GetFileVersion(), "");
}

} // namespace

TEST(SysInfoVersionReader, RecordsTheTableItSelected) {
    struct Expected {
        const char* dll;
        WORD language;
        WORD codePage;
        const char* path;
    };
    const Expected cases[] = {
        {"only_b0", 0x0409, 0x04B0, "\\StringFileInfo\\040904B0\\"},
        {"third", 0x0410, 0x04E4, "\\StringFileInfo\\041004E4\\"},
        {"first_wins", 0x0407, 0x04E4, "\\StringFileInfo\\040704E4\\"},
        {"fixed_before_rest", 0x0409, 0x04E4, "\\StringFileInfo\\040904E4\\"},
        {"no_translation", 0x0409, 0x0000, "\\StringFileInfo\\04090000\\"},
        {"empty_first", 0x0409, 0x04B0, "\\StringFileInfo\\040904B0\\"},
    };
    for (const auto& c : cases) {
        CVersionInfo reader;
        ASSERT_TRUE(reader.Open(VersionDll(c.dll).c_str())) << c.dll;
        EXPECT_EQ(reader.GetLanguage(), c.language) << c.dll;
        EXPECT_EQ(reader.GetCodePage(), c.codePage) << c.dll;
        EXPECT_EQ(reader.GetStringTablePath(), c.path) << c.dll;
    }
}

TEST(SysInfoVersionReader, AnswersEveryKeyFromTheSelectedTableOnly) {
    CVersionInfo reader;
    ASSERT_TRUE(reader.Open(BesideProgram("OvDurAru.dll").c_str()));
    EXPECT_EQ(reader.GetFileVersion(), "3.5");
    EXPECT_EQ(reader.GetProductVersion(), "3.5");
    EXPECT_EQ(reader.GetCompanyName(), "Orvale");
    EXPECT_EQ(reader.GetFileDescription(), "QUORDurAru DLL");
    EXPECT_EQ(reader.GetInternalName(), "QUORDurAru");
    EXPECT_EQ(reader.GetOriginalFilename(), "QUORDurAru.DLL");
    EXPECT_EQ(reader.GetProductName(), "QUORDurAru Dynamic Link Library");
    EXPECT_EQ(reader.GetSpecialBuild(), "");
    EXPECT_FALSE(reader.GetLegalCopyright().empty());
    EXPECT_EQ(reader.QueryString("NoSuchKey"), "");
    EXPECT_FALSE(reader.GetLanguageName().empty());

    // The German table's company name is not the selected table's.
    ASSERT_TRUE(reader.Open(VersionDll("empty_first").c_str()));
    EXPECT_EQ(reader.GetFileVersion(), "b0");
    EXPECT_EQ(reader.GetCompanyName(), "");
}

TEST(SysInfoVersionReader, LanguageNameOfTheSelectedLanguage) {
    CVersionInfo reader;
    char expected[260];
    ASSERT_TRUE(reader.Open(VersionDll("third").c_str()));
    VerLanguageNameA(0x0410, expected, sizeof expected);
    EXPECT_EQ(reader.GetLanguageName(), expected);
    ASSERT_TRUE(reader.Open(VersionDll("only_b0").c_str()));
    VerLanguageNameA(0x0409, expected, sizeof expected);
    EXPECT_EQ(reader.GetLanguageName(), expected);
}

TEST(SysInfoVersionReader, FailedOpenAndResetLeaveItEmpty) {
    CVersionInfo reader;
    ExpectEmpty(reader);
    ASSERT_TRUE(reader.Open(VersionDll("only_b0").c_str()));
    reader.Reset();
    ExpectEmpty(reader);

    // Every failing Open drops what an earlier one had loaded.
    for (const char* failing : {"all_empty", "zero_os", "zero_type", "missing"}) {
        ASSERT_TRUE(reader.Open(VersionDll("only_b0").c_str()));
        EXPECT_FALSE(reader.Open(VersionDll(failing).c_str())) << failing;
        ExpectEmpty(reader);
    }
}
