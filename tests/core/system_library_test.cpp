// The libraries the module loads on demand, in-process: where they come from,
// and what the exports answer when one of them cannot be had.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/app.h"
#include "core/system_library.h"
#include "dialup/ras_platform.h"
#include "print/spooler_platform.h"
#include "support/file_printer.h"
#include "support/slot_wait.h"
#include "sysinfo/version_info.h"

using ::testing::StartsWith;

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string SystemFolder() {
    char folder[MAX_PATH];
    const UINT n = GetSystemDirectoryA(folder, MAX_PATH);
    return Lower(std::string(folder, n)) + "\\";
}

std::string PathOf(HMODULE module) {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    return Lower(std::string(path, n));
}

std::string BesideProgram(const std::string& name) {
    char self[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path(self, n);
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

ULONGLONG ErrorLogSize() {
    char folder[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(folder, MAX_PATH);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const std::string log = std::string(folder, n) + "\\OrvaleSCADAQUORErr.log";
    if (!GetFileAttributesExA(log.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// Makes one library unavailable to the module while the object lives.
class Withheld {
  public:
    explicit Withheld(ov::SystemLibrary& library) : m_library(library) {
        library.RenameForTesting("ovmissing.dll");
    }
    ~Withheld() { m_library.RenameForTesting(nullptr); }
    Withheld(const Withheld&) = delete;
    Withheld& operator=(const Withheld&) = delete;

  private:
    ov::SystemLibrary& m_library;
};

struct Answers {
    std::string entries, list, dial, hangUp, print, version;
    short active;
    bool operator==(const Answers&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Answers& a) {
    return out << "entries '" << a.entries << "' list '" << a.list << "' active " << a.active
               << " dial " << a.dial << " hang-up " << a.hangUp << " print " << a.print
               << " version '" << a.version << "'";
}

// Every export that needs one of the three libraries.
Answers AskEveryExport(const FilePrinter& printer, const std::string& versionFile) {
    COvDEvedApp& app = TheApp();
    Answers a;
    a.entries = app.RASEntries();
    a.list = app.RASList();
    a.active = app.RASActive("Office");
    a.dial = WaitForSlot(app, app.RASDial("Office", "", "", ""));
    a.hangUp = WaitForSlot(app, app.RASHangUp(""));
    a.print = WaitForSlot(app, app.PrintLine(printer.name().c_str(), "x"));
    a.version = app.GetVersion(versionFile.c_str());
    return a;
}

} // namespace

TEST(CoreSystemLibrary, ComesFromTheSystemFolderOnlyAndOnce) {
    for (const char* name : {"rasapi32.dll", "winspool.drv", "version.dll"}) {
        HMODULE module = ov::LoadFromSystemFolder(name);
        ASSERT_NE(module, nullptr) << name;
        EXPECT_THAT(PathOf(module), StartsWith(SystemFolder())) << name;
        FreeLibrary(module);
    }
    for (ov::SystemLibrary* library :
         {&ov::ras::RasLibrary(), &ov::SpoolerLibrary(), &ov::VersionLibrary()}) {
        HMODULE module = library->Module();
        ASSERT_NE(module, nullptr);
        EXPECT_THAT(PathOf(module), StartsWith(SystemFolder()));
        EXPECT_EQ(library->Module(), module);
    }
    // A library that lies only beside the program is found by a bare name, never by the module.
    const char* besideOnly = "ovver_raw_valid.dll";
    EXPECT_EQ(ov::LoadFromSystemFolder(besideOnly), nullptr);
    HMODULE bare = LoadLibraryA(besideOnly);
    EXPECT_NE(bare, nullptr) << "the bare name finds it";
    if (bare) FreeLibrary(bare);
}

TEST(CoreSystemLibrary, WithoutOneLibraryOnlyItsExportsGiveTheirFailureAnswers) {
    FilePrinter printer;
    const std::string versionFile = BesideProgram("ovver_raw_valid.dll");
    // Under Wine the dial-up service has no entries and dials nothing, which
    // are also the answers without rasapi32.
    const Answers real{"", "", "-1", "0", "1", "7.7", 0};
    ASSERT_EQ(AskEveryExport(printer, versionFile), real);

    struct Case {
        const char* library;
        ov::SystemLibrary& binding;
        Answers expected;
    };
    Answers noSpooler = real, noVersion = real;
    noSpooler.print = "-2";
    noVersion.version = "";
    const Case cases[] = {{"rasapi32", ov::ras::RasLibrary(), real},
                          {"winspool", ov::SpoolerLibrary(), noSpooler},
                          {"version", ov::VersionLibrary(), noVersion}};
    for (const Case& c : cases) {
        const ULONGLONG logged = ErrorLogSize();
        {
            Withheld missing(c.binding);
            EXPECT_EQ(AskEveryExport(printer, versionFile), c.expected) << "without " << c.library;
            EXPECT_STRNE(TheApp().GetSystemDir(), "") << "without " << c.library;
            // The service's own answers and the missing one's look alike here;
            // the binding shows which it was.
            const DWORD hangUp = ov::ras::Ras().HangUp(nullptr);
            if (&c.binding == &ov::ras::RasLibrary())
                EXPECT_EQ(hangUp, static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
            else
                EXPECT_NE(hangUp, static_cast<DWORD>(ERROR_PROC_NOT_FOUND)) << c.library;
        }
        EXPECT_EQ(ErrorLogSize(), logged) << "without " << c.library << ": no log line";
        EXPECT_EQ(AskEveryExport(printer, versionFile), real) << "after " << c.library;
    }
}
