// A host that links none of the libraries the module loads on demand: it loads
// OvDurAru.dll from beside itself and reports, one "key=value" line each,
// which of them the process has before and after each export that needs one,
// and what those exports answer.
//   ovloadprobe <printer> <file with a version resource>
//   ovloadprobe --bare <library>   loads it by bare name, as for an import
#include <windows.h>

#include <cstdio>
#include <string>

#include "loader/ov_loader.h"

namespace {

void Report(const std::string& key, const std::string& value) {
    std::printf("%s=%s\n", key.c_str(), value.c_str());
    std::fflush(stdout);
}

// Full path of a library in the process, or "-".
std::string LoadedFrom(const char* name) {
    char path[MAX_PATH];
    HMODULE module = GetModuleHandleA(name);
    return module ? std::string(path, GetModuleFileNameA(module, path, MAX_PATH)) : "-";
}

void ReportLibraries(const std::string& when) {
    for (const char* name : {"rasapi32.dll", "winspool.drv", "version.dll"})
        Report(when + " " + name, LoadedFrom(name));
}

std::string Wait(const ov::LoadedModule& ov, short slot) {
    for (const DWORD start = GetTickCount(); slot >= 0 && ov.IsActive(slot); Sleep(1))
        if (GetTickCount() - start > 60000) return "<slot still active>";
    return slot < 0 ? "<no slot>" : ov.GetData(slot);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 1;
    if (std::string(argv[1]) == "--bare") {
        Report("bare", LoadLibraryA(argv[2]) ? LoadedFrom(argv[2]) : "-");
        return 0;
    }
    ReportLibraries("before load");
    ov::LoadedModule loaded;
    try {
        loaded = ov::LoadModule(ov::ModuleBesideProgram());
    } catch (const ov::LoadError&) {
        return 2;
    }
    ReportLibraries("after load");
    const ov::LoadedModule& ov = loaded;

    Report("RASEntries", ov.RASEntries());
    ReportLibraries("after RASEntries");
    Report("RASList", ov.RASList());
    Report("RASActive", std::to_string(ov.RASActive("Office")));
    Report("RASDial", Wait(ov, ov.RASDial("Office", "", "", "")));
    Report("RASHangUp", Wait(ov, ov.RASHangUp("")));
    Report("PrintLine", Wait(ov, ov.PrintLine(argv[1], "probe\r\n")));
    ReportLibraries("after PrintLine");
    Report("GetVersion", ov.GetVersion(argv[2]));
    ReportLibraries("after GetVersion");
    return 0;
}
