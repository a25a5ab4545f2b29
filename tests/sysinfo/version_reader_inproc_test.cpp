#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "sysinfo/sysinfo_platform.h"
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

namespace {

// A version library that hands out one 256-byte block: a valid fixed part at
// its start and a "FileVersion" text whose bytes, place and reported length
// each case chooses. Nothing else exists in it.
struct SimulatedBlock {
    static constexpr DWORD kSize = 256;
    static inline std::string bytes;  // placed as they are, no terminator added
    static inline std::size_t at = 0; // offset of the text in the block
    static inline UINT length = 0;    // what the query reports
    static inline std::size_t fixedAt = 0;

    static DWORD WINAPI Size(LPCSTR, LPDWORD) { return kSize; }
    static BOOL WINAPI Read(LPCSTR, DWORD, DWORD size, LPVOID block) {
        auto* data = static_cast<BYTE*>(block);
        std::memset(data, 0, size);
        VS_FIXEDFILEINFO fixed{};
        fixed.dwSignature = 0xFEEF04BD;
        fixed.dwStrucVersion = 0x00010000;
        fixed.dwFileOS = VOS_NT_WINDOWS32;
        fixed.dwFileType = VFT_DLL;
        std::memcpy(data + fixedAt, &fixed, std::min<std::size_t>(sizeof fixed, size - fixedAt));
        std::memcpy(data + at, bytes.data(), bytes.size());
        return TRUE;
    }
    static BOOL WINAPI Query(LPCVOID block, LPCSTR subBlock, LPVOID* value, PUINT valueLength) {
        auto* data = static_cast<BYTE*>(const_cast<LPVOID>(block));
        const std::string path = subBlock;
        if (path == "\\") {
            *value = data + fixedAt;
            *valueLength = sizeof(VS_FIXEDFILEINFO);
            return TRUE;
        }
        if (path != "\\StringFileInfo\\040904B0\\FileVersion") return FALSE;
        *value = data + at;
        *valueLength = length;
        return TRUE;
    }
};

class SimulatedVersionLibrary {
  public:
    SimulatedVersionLibrary() {
        m_api.GetFileVersionInfoSizeA = &SimulatedBlock::Size;
        m_api.GetFileVersionInfoA = &SimulatedBlock::Read;
        m_api.VerQueryValueA = &SimulatedBlock::Query;
        ov::SetPlatformForTesting(&m_api);
    }
    ~SimulatedVersionLibrary() { ov::SetPlatformForTesting<ov::SysinfoPlatform>(nullptr); }
    SimulatedVersionLibrary(const SimulatedVersionLibrary&) = delete;
    SimulatedVersionLibrary& operator=(const SimulatedVersionLibrary&) = delete;

  private:
    ov::SysinfoPlatform m_api = ov::Sysinfo();
};

} // namespace

TEST(SysInfoVersionReader, TextEndsAtTheReportedLengthAndNeverPastTheBlock) {
    SimulatedVersionLibrary library;
    struct Case {
        const char* what;
        std::string bytes;
        std::size_t at;
        UINT length;
        const char* expected;
    };
    constexpr std::size_t kEnd = SimulatedBlock::kSize;
    const Case cases[] = {
        {"length counts the terminator", std::string("7.7\0ZZ", 6), 100, 4, "7.7"},
        {"no terminator, more text after", "7.7ZZZZ", 100, 3, "7.7"},
        {"terminator before the length", std::string("7\0.7", 4), 100, 4, "7"},
        {"last bytes of the block, length beyond it", "12", kEnd - 2, 10, "12"},
    };
    for (const Case& c : cases) {
        SimulatedBlock::bytes = c.bytes;
        SimulatedBlock::at = c.at;
        SimulatedBlock::length = c.length;
        SimulatedBlock::fixedAt = 0;
        CVersionInfo reader;
        ASSERT_TRUE(reader.Open("any")) << c.what;
        EXPECT_EQ(reader.GetFileVersion(), c.expected) << c.what;
    }
    // A fixed part that would run past the block counts as none.
    SimulatedBlock::bytes = "7.7";
    SimulatedBlock::at = 100;
    SimulatedBlock::length = 4;
    SimulatedBlock::fixedAt = kEnd - 40;
    CVersionInfo reader;
    EXPECT_FALSE(reader.Open("any"));
    ExpectEmpty(reader);
}
