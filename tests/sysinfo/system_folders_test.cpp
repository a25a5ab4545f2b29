#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/ov_module.h"

namespace {

const char kShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Every value of the current user's "Shell Folders" key (or the key's absence),
// put back as it was at the end of the test.
class ShellFoldersSnapshot {
  public:
    ShellFoldersSnapshot() {
        HKEY key = nullptr;
        m_existed = RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_READ, &key) == 0;
        if (!m_existed) return;
        for (DWORD i = 0;; ++i) {
            char name[512];
            DWORD nameSize = sizeof name;
            DWORD type = 0;
            std::vector<BYTE> data(4096);
            DWORD dataSize = static_cast<DWORD>(data.size());
            if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data.data(), &dataSize))
                break;
            data.resize(dataSize);
            m_values.push_back({name, type, data});
        }
        RegCloseKey(key);
    }
    ~ShellFoldersSnapshot() {
        if (!m_existed) {
            RegDeleteKeyA(HKEY_CURRENT_USER, kShellFolders);
            return;
        }
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr))
            return;
        RegDeleteValueA(key, "Personal"); // absent from the snapshot when it was missing
        for (const auto& v : m_values)
            RegSetValueExA(key, v.name.c_str(), 0, v.type, v.data.data(),
                           static_cast<DWORD>(v.data.size()));
        RegCloseKey(key);
    }
    ShellFoldersSnapshot(const ShellFoldersSnapshot&) = delete;
    ShellFoldersSnapshot& operator=(const ShellFoldersSnapshot&) = delete;

  private:
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    bool m_existed = false;
    std::vector<Value> m_values;
};

// Stores "Personal" with exactly the given bytes.
void SetPersonal(DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Personal", 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

void SetPersonalText(const std::string& text) {
    SetPersonal(REG_SZ, std::string(text.c_str(), text.size() + 1));
}

void DeletePersonal() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_SET_VALUE, &key)) return;
    RegDeleteValueA(key, "Personal");
    RegCloseKey(key);
}

// A path-like text of exactly n characters.
std::string PathOfLength(std::size_t n) {
    std::string text = "C:\\Docs\\";
    while (text.size() < n)
        text += static_cast<char>('a' + text.size() % 26);
    return text.substr(0, n);
}

} // namespace

TEST(SysInfoFolders, FoldersNameExistingDirectoriesAndKeepTheirText) {
    auto& m = OvModule::Get();
    struct Folder {
        const char* name;
        const char*(__cdecl* get)();
        bool trailingSeparator;
    } folders[] = {{"windows", m.GetWindowsDir, false},
                   {"system", m.GetSystemDir, false},
                   {"temp", m.GetTempDir, true}};
    for (const Folder& f : folders) {
        const char* first = f.get();
        const std::string text = first;
        ASSERT_FALSE(text.empty()) << f.name;
        EXPECT_LE(text.size(), 254u) << f.name;
        EXPECT_TRUE(DirExists(text)) << f.name << ": " << text;
        EXPECT_EQ(text.back() == '\\', f.trailingSeparator) << f.name << ": " << text;
        EXPECT_EQ(f.get(), first) << f.name << ": one buffer";
        EXPECT_EQ(text, first) << f.name << ": the same text again";
    }
    // A name the network knows the machine by: no separators, not empty.
    const std::string computer = m.GetComputerName();
    EXPECT_FALSE(computer.empty());
    EXPECT_EQ(computer.find_first_of("\\/ "), std::string::npos) << computer;
}

TEST(SysInfoFolders, EachExportKeepsOneBufferOfItsOwn) {
    auto& m = OvModule::Get();
    const char* system = m.GetSystemDir();
    EXPECT_EQ(m.GetSystemDir(), system);
    const char* others[] = {m.GetWindowsDir(), m.GetTempDir(), m.GetMyDocDir(), m.GetComputerName(),
                            m.GetWindowsUserName()};
    for (const char* other : others)
        EXPECT_NE(other, system);
}

TEST(SysInfoMyDocDir, GivesThePersonalValueAsStored) {
    ShellFoldersSnapshot restore;
    auto& m = OvModule::Get();
    SetPersonalText("D:\\Users\\operator\\My Documents");
    EXPECT_STREQ(m.GetMyDocDir(), "D:\\Users\\operator\\My Documents");
    // No expansion of environment references, whatever the value's type.
    SetPersonal(REG_EXPAND_SZ, std::string("%USERPROFILE%\\Documents", 25));
    EXPECT_STREQ(m.GetMyDocDir(), "%USERPROFILE%\\Documents");
}

TEST(SysInfoMyDocDir, MissingValueOrKeyGivesEmptyTextNotThePreviousOne) {
    ShellFoldersSnapshot restore;
    auto& m = OvModule::Get();
    SetPersonalText("C:\\Before");
    const char* first = m.GetMyDocDir();
    ASSERT_STREQ(first, "C:\\Before");
    DeletePersonal();
    EXPECT_EQ(m.GetMyDocDir(), first);
    EXPECT_STREQ(first, "");

    SetPersonalText("C:\\Before");
    ASSERT_STREQ(m.GetMyDocDir(), "C:\\Before");
    DeletePersonal();
    if (RegDeleteKeyA(HKEY_CURRENT_USER, kShellFolders) != ERROR_SUCCESS)
        GTEST_SKIP() << "the key has subkeys in this prefix";
    EXPECT_STREQ(m.GetMyDocDir(), "");
}

TEST(SysInfoMyDocDir, AtMost254BytesOfData) {
    ShellFoldersSnapshot restore;
    auto& m = OvModule::Get();
    // 253 characters and the terminator: 254 bytes, returned whole.
    SetPersonalText(PathOfLength(253));
    EXPECT_EQ(std::string(m.GetMyDocDir()), PathOfLength(253));
    // 254 characters and the terminator: too long.
    SetPersonalText(PathOfLength(254));
    EXPECT_STREQ(m.GetMyDocDir(), "");
    SetPersonalText(PathOfLength(400));
    EXPECT_STREQ(m.GetMyDocDir(), "");
    // 254 bytes stored without a terminator still come back as one clean text.
    SetPersonal(REG_BINARY, PathOfLength(254));
    EXPECT_EQ(std::string(m.GetMyDocDir()), PathOfLength(254));
}
