// The libraries the module loads on demand, in-process: where they come from,
// and what the exports answer when one of them cannot be had.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core/app.h"
#include "core/system_library.h"
#include "dialup/dialup_platform.h"
#include "loader/ov_loader.h"
#include "print/print_platform.h"
#include "support/error_log_file.h"
#include "support/file_printer.h"
#include "support/wait_for.h"
#include "sysinfo/sysinfo_platform.h"
#include "support/system_folder.h"

using ::testing::StartsWith;

namespace {

std::string PathOf(HMODULE module) {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    return Lower(std::string(path, n));
}

std::string BesideProgram(const std::string& name) { return ov::ProgramFolder() + "\\" + name; }

ULONGLONG ErrorLogSize() {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(ErrorLogPath().c_str(), GetFileExInfoStandard, &data)) return 0;
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

// What every export that needs one of the three libraries answers, in order:
// RASEntries, RASList, RASActive, RASDial, RASHangUp, PrintLine, GetVersion.
std::vector<std::string> AskEveryExport(const FilePrinter& printer,
                                        const std::string& versionFile) {
    COvDEvedApp& app = TheApp();
    return {app.RASEntries(),
            app.RASList(),
            std::to_string(app.RASActive("Office")),
            WaitForSlot(app, app.RASDial("Office", "", "", "")),
            WaitForSlot(app, app.RASHangUp("")),
            WaitForSlot(app, app.PrintLine(printer.name().c_str(), "x")),
            app.GetVersion(versionFile.c_str())};
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
         {&ov::RasLibrary(), &ov::SpoolerLibrary(), &ov::VersionLibrary()}) {
        HMODULE module = library->Module();
        ASSERT_NE(module, nullptr);
        EXPECT_THAT(PathOf(module), StartsWith(SystemFolder()));
        EXPECT_EQ(library->Module(), module);
    }
    // Many first uses at once load it once: every caller gets the same module.
    ov::SystemLibrary fresh{"version.dll"};
    std::atomic<bool> go{false};
    std::vector<HMODULE> seen(8);
    std::vector<std::thread> callers;
    for (HMODULE& module : seen)
        callers.emplace_back([&] {
            while (!go)
                std::this_thread::yield();
            module = fresh.Module();
        });
    go = true;
    for (std::thread& caller : callers)
        caller.join();
    EXPECT_NE(seen[0], nullptr);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), seen[0]), 8);
    // A library that lies only beside the program is found by a bare name, never by the module.
    const char* besideOnly = "ovver_raw_valid.dll";
    EXPECT_EQ(ov::LoadFromSystemFolder(besideOnly), nullptr);
    HMODULE bare = LoadLibraryA(besideOnly);
    EXPECT_NE(bare, nullptr) << "the bare name finds it";
    if (bare) FreeLibrary(bare);
}

TEST(CoreSystemLibrary, WithoutOneLibraryOnlyItsExportsGiveTheirFailureAnswers) {
    OV_SKIP_UNLESS_FILE_PRINTER();
    FilePrinter printer;
    const std::string versionFile = BesideProgram("ovver_raw_valid.dll");
    // Under Wine the dial-up service has no entries and dials nothing, which
    // are also the answers without rasapi32; the binding tells them apart.
    using Answers = std::vector<std::string>;
    const Answers real{"", "", "0", "-1", "0", "1", "7.7"};
    ASSERT_EQ(AskEveryExport(printer, versionFile), real);
    struct Case {
        const char* without;
        ov::SystemLibrary& library;
        Answers expected;
    };
    const Case cases[] = {{"rasapi32", ov::RasLibrary(), real},
                          {"winspool", ov::SpoolerLibrary(), {"", "", "0", "-1", "0", "-2", "7.7"}},
                          {"version", ov::VersionLibrary(), {"", "", "0", "-1", "0", "1", ""}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("without ") + c.without);
        const ULONGLONG logged = ErrorLogSize();
        const bool rasMissing = &c.library == &ov::RasLibrary();
        {
            Withheld missing(c.library);
            EXPECT_EQ(AskEveryExport(printer, versionFile), c.expected);
            EXPECT_EQ(ov::Dialup().RasHangUpA(nullptr) == ERROR_PROC_NOT_FOUND, rasMissing);
            EXPECT_STRNE(TheApp().GetSystemDir(), "");
        }
        EXPECT_EQ(ErrorLogSize(), logged) << "no log line";
        EXPECT_EQ(AskEveryExport(printer, versionFile), real) << "back again";
    }
}
