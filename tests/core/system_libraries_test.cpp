// rasapi32, winspool.drv and version.dll come from the system folder, and only
// when an export needs them: seen from a host that links none of them
// (ovloadprobe), beside the built DLL and again with stand-ins planted beside it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "support/child_process.h"
#include "support/file_printer.h"
#include "support/ov_module.h"
#include "support/system_folder.h"

using ::testing::StartsWith;

namespace {

const char* const kOnDemand[] = {"rasapi32.dll", "winspool.drv", "version.dll"};

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }
std::string BuildFolder() { return FolderOf(OvModule::Path()); }

// Wine's own user32 imports version.dll, so there it comes into the process
// with user32, found like any import: beside the host first. Windows' user32
// does not import it.
using ovcall::UnderWine;

// Runs the probe in folder; its "key=value" lines.
std::map<std::string, std::string> Probe(const std::string& folder, const std::string& arguments) {
    const ProgramRun run = RunProgram(folder + "\\ovloadprobe.exe", arguments, folder);
    EXPECT_EQ(run.status, 0u) << run.err;
    std::map<std::string, std::string> report;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (const auto eq = line.find('='); eq != std::string::npos)
            report[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return report;
}

// Wine prefers its own code to a file of the same name unless told otherwise.
// While this lives, the probe is told to prefer files, so that a stand-in
// loaded from beside it runs. Not for version.dll: Wine's user32 would load
// that one itself (see UnderWine).
class StandInsPreferred {
  public:
    StandInsPreferred() {
        HKEY key = nullptr;
        const std::string path = std::string(kProbeDefaults) + "\\DllOverrides";
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        for (const char* name : {"rasapi32", "winspool.drv"})
            RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"),
                           sizeof "native,builtin");
        if (key) RegCloseKey(key);
    }
    ~StandInsPreferred() { RegDeleteTreeA(HKEY_CURRENT_USER, kProbeDefaults); }
    StandInsPreferred(const StandInsPreferred&) = delete;
    StandInsPreferred& operator=(const StandInsPreferred&) = delete;

  private:
    static constexpr const char* kProbeDefaults = "Software\\Wine\\AppDefaults\\ovloadprobe.exe";
};

std::string ProbeArguments(const FilePrinter& printer, const std::string& versionFile) {
    return "\"" + printer.name() + "\" \"" + versionFile + "\"";
}

// Every answer the real libraries give under Wine; rasapi32 and winspool
// loaded from the system folder right after the first export that needs them
// and not before.
void ExpectRealAnswersFromTheSystemFolder(std::map<std::string, std::string> report) {
    for (const char* name : kOnDemand) {
        EXPECT_EQ(report["before load " + std::string(name)], "-") << name;
        if (std::string(name) != "version.dll" || !UnderWine()) {
            EXPECT_EQ(report["after load " + std::string(name)], "-")
                << name << " came with the DLL";
        }
    }
    EXPECT_THAT(Lower(report["after RASEntries rasapi32.dll"]), StartsWith(SystemFolder()));
    EXPECT_EQ(report["after RASEntries winspool.drv"], "-");
    EXPECT_THAT(Lower(report["after PrintLine winspool.drv"]), StartsWith(SystemFolder()));
    if (!UnderWine()) {
        EXPECT_EQ(report["after PrintLine version.dll"], "-");
        EXPECT_THAT(Lower(report["after GetVersion version.dll"]), StartsWith(SystemFolder()));
    }

    EXPECT_EQ(report["RASEntries"], "");
    EXPECT_EQ(report["RASList"], "");
    EXPECT_EQ(report["RASActive"], "0");
    EXPECT_EQ(report["RASDial"], "-1");
    EXPECT_EQ(report["RASHangUp"], "0");
    EXPECT_EQ(report["PrintLine"], "1");
    EXPECT_EQ(report["GetVersion"], "3.5");
}

} // namespace

TEST(CoreSystemLibraries, EachIsLoadedFromTheSystemFolderWhenAnExportFirstNeedsIt) {
    OV_SKIP_UNLESS_FILE_PRINTER();
    FilePrinter printer;
    ExpectRealAnswersFromTheSystemFolder(
        Probe(BuildFolder(), ProbeArguments(printer, OvModule::Path())));
    EXPECT_EQ(printer.Arrived(), "probe\r\n");
}

TEST(CoreSystemLibraries, StandInsPlantedBesideTheHostAreNeverLoaded) {
    OV_SKIP_UNLESS_FILE_PRINTER();
    ScratchDir dir;
    for (const char* file : {"ovloadprobe.exe", "OvDurAru.dll"})
        ASSERT_TRUE(CopyFileA((BuildFolder() + "\\" + file).c_str(), (dir / file).c_str(), FALSE));
    for (const char* name : kOnDemand)
        ASSERT_TRUE(
            CopyFileA((BuildFolder() + "\\planted\\" + name).c_str(), (dir / name).c_str(), FALSE));
    const StandInsPreferred standIns;
    for (const char* name : {"rasapi32.dll", "winspool.drv"}) {
        Probe(dir.path(), std::string("--bare ") + name);
        EXPECT_TRUE(FileExists(dir / (std::string(name) + ".loaded")))
            << "stand-in " << name << " does not bite";
        DeleteFileA((dir / (std::string(name) + ".loaded")).c_str());
    }

    FilePrinter printer;
    ExpectRealAnswersFromTheSystemFolder(
        Probe(dir.path(), ProbeArguments(printer, dir / "OvDurAru.dll")));
    for (const char* name : kOnDemand)
        EXPECT_FALSE(FileExists(dir / (std::string(name) + ".loaded"))) << name << " was loaded";
}
