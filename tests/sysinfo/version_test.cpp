#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/ov_module.h"

namespace {

// A test DLL built beside the test program from tests/sysinfo/version/<name>.rc.
std::string VersionDll(const std::string& name) {
    const std::string module = OvModule::Path();
    return module.substr(0, module.find_last_of('\\') + 1) + "ovver_" + name + ".dll";
}

struct VersionCase {
    const char* dll;
    const char* expected;
};

} // namespace

TEST(SysInfoVersion, PicksTheFileVersionOfTheBestStringTable) {
    auto& m = OvModule::Get();
    const VersionCase cases[] = {
        // the string as stored, not the fixed part's 1.2.3.4
        {"only_b0", "9.8 beta"},
        {"third", "third"},
        {"first_wins", "first"},
        {"fixed_before_rest", "e4"},
        {"no_translation", "neutral"},
        {"empty_first", "b0"},
        {"all_empty", ""},
        {"zero_os", ""},
        {"zero_type", ""},
        // hand-written resources: only the fixed part differs
        {"raw_valid", "7.7"},
        {"raw_old_struct", ""},
        {"raw_short_fixed", ""},
    };
    for (const auto& c : cases) {
        const std::string path = VersionDll(c.dll);
        ASSERT_TRUE(FileExists(path)) << path;
        EXPECT_EQ(std::string(m.GetVersion(path.c_str())), c.expected) << c.dll;
    }
}

TEST(SysInfoVersion, OwnModuleGivesThreeFive) {
    EXPECT_STREQ(OvModule::Get().GetVersion(OvModule::Path().c_str()), "3.5");
}

TEST(SysInfoVersion, LongVersionIsCutAfter254Characters) {
    std::string digits;
    for (int i = 0; i < 300; ++i)
        digits += static_cast<char>('0' + i % 10);
    const char* text = OvModule::Get().GetVersion(VersionDll("long").c_str());
    EXPECT_EQ(std::string(text), digits.substr(0, 254));
}

TEST(SysInfoVersion, NoVersionGivesEmptyTextNotThePreviousOne) {
    auto& m = OvModule::Get();
    ScratchDir dir;
    WriteTextFile(dir / "plain.txt", "no resource here");
    const char* first = m.GetVersion(OvModule::Path().c_str());
    ASSERT_STREQ(first, "3.5");
    const std::string unversioned[] = {dir.path(), dir / "missing.dll", dir / "plain.txt", ""};
    for (const auto& path : unversioned) {
        const char* text = m.GetVersion(path.c_str());
        EXPECT_EQ(text, first) << "one buffer for every call";
        EXPECT_STREQ(text, "") << path;
    }
}

TEST(SysInfoVersion, BadPathPointerIsLoggedAndGivesEmptyText) {
    auto& m = OvModule::Get();
    ASSERT_STREQ(m.GetVersion(OvModule::Path().c_str()), "3.5");
    const int before = CountLogLines("COvDEvedApp::GetVersion");
    const char* text = m.GetVersion(reinterpret_cast<const char*>(0x10));
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(CountLogLines("COvDEvedApp::GetVersion"), before + 1);
}

// The module's own resource, read back through the platform.
TEST(SysInfoOwnResource, CarriesVersionThreeFiveAndItsStrings) {
    const std::string path = OvModule::Path();
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &unused);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const auto& fixed = *static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00030005u);
    EXPECT_EQ(fixed.dwFileVersionLS, 0u);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00030005u);
    EXPECT_EQ(fixed.dwProductVersionLS, 0u);
    EXPECT_EQ(fixed.dwFileOS, 4u);
    EXPECT_EQ(fixed.dwFileType, 2u);

    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u) << "one translation";
    const auto* translation = static_cast<const WORD*>(value);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04B0);

    auto text = [&](const std::string& key) -> std::string {
        void* p = nullptr;
        UINT n = 0;
        const std::string sub = "\\StringFileInfo\\040904B0\\" + key;
        if (!VerQueryValueA(block.data(), sub.c_str(), &p, &n) || !p) return "<missing>";
        return static_cast<const char*>(p);
    };
    EXPECT_EQ(text("FileVersion"), "3.5");
    EXPECT_EQ(text("ProductVersion"), "3.5");
    EXPECT_EQ(text("OriginalFilename"), "QUORDurAru.DLL");
    EXPECT_EQ(text("ProductName"), "QUORDurAru Dynamic Link Library");
    EXPECT_EQ(text("CompanyName"), "Orvale");
    EXPECT_EQ(text("FileDescription"), "QUORDurAru DLL");
    EXPECT_EQ(text("InternalName"), "QUORDurAru");
    for (const char* empty : {"PrivateBuild", "SpecialBuild", "Comments", "LegalTrademarks"})
        EXPECT_EQ(text(empty), "") << empty;
    const std::string copyright = text("LegalCopyright");
    EXPECT_NE(copyright, "<missing>");
    EXPECT_FALSE(copyright.empty());
}
