// A host that links none of the libraries the module loads on demand: it loads
// OvDurAru.dll from beside itself, reports which of them are in the process
// before and after each export that needs one, whether the sockets layer was
// started, and whether the module unloads. One "key=value" line each.
//   ovloadprobe <printer> <file with a version resource>
//   ovloadprobe --bare <library>   loads the library by bare name, as the
//                                  loader would for an import, and reports where from
#include <winsock2.h>

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const char* const kOnDemand[] = {"rasapi32.dll", "winspool.drv", "version.dll"};

std::string Beside(const char* name) {
    char self[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, n);
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

void Report(const std::string& key, const std::string& value) {
    std::printf("%s=%s\n", key.c_str(), value.c_str());
    std::fflush(stdout);
}

// Full path of a loaded library, or "-" when the process does not have it.
std::string LoadedFrom(const char* name) {
    HMODULE module = GetModuleHandleA(name);
    if (!module) return "-";
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    return std::string(path, n);
}

void ReportLibraries(const std::string& when) {
    for (const char* name : kOnDemand)
        Report(when + " " + name, LoadedFrom(name));
}

template <class Fn> Fn Export(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool SocketsStarted() {
    const SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    if (s != INVALID_SOCKET) closesocket(s);
    return s != INVALID_SOCKET || WSAGetLastError() != WSANOTINITIALISED;
}

bool WaitFor(bool (*condition)(), DWORD timeoutMs) {
    for (const DWORD start = GetTickCount(); !condition(); Sleep(10))
        if (GetTickCount() - start > timeoutMs) return false;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 1;
    if (std::string(argv[1]) == "--bare") {
        Report("bare", LoadLibraryA(argv[2]) ? LoadedFrom(argv[2]) : "-");
        return 0;
    }
    const std::string dll = Beside("OvDurAru.dll");
    ReportLibraries("before load");
    HMODULE module = LoadLibraryA(dll.c_str());
    if (!module) return 2;
    ReportLibraries("after load");

    using Text = const char*(__cdecl*)();
    using TextOf = const char*(__cdecl*)(const char*);
    using Slot = short(__cdecl*)(short);
    const auto isActive = Export<Slot>(module, "IsActive");
    const auto getData = Export<const char*(__cdecl*)(short)>(module, "GetData");
    const auto wait = [&](short slot) -> std::string {
        if (slot < 0) return "<no slot>";
        for (const DWORD start = GetTickCount(); isActive(slot); Sleep(1))
            if (GetTickCount() - start > 60000) return "<slot still active>";
        return getData(slot);
    };

    Report("RASEntries", Export<Text>(module, "RASEntries")());
    ReportLibraries("after RASEntries");
    Report("RASList", Export<Text>(module, "RASList")());
    Report("RASActive",
           std::to_string(Export<short(__cdecl*)(const char*)>(module, "RASActive")("Office")));
    Report("RASDial",
           wait(Export<short(__cdecl*)(const char*, const char*, const char*, const char*)>(
               module, "RASDial")("Office", "", "", "")));
    Report("RASHangUp", wait(Export<short(__cdecl*)(const char*)>(module, "RASHangUp")("")));
    Report("PrintLine", wait(Export<short(__cdecl*)(const char*, const char*)>(module, "PrintLine")(
                            argv[1], "probe\r\n")));
    ReportLibraries("after PrintLine");
    Report("GetVersion", Export<TextOf>(module, "GetVersion")(argv[2]));
    ReportLibraries("after GetVersion");
    Report("sockets", SocketsStarted() ? "started" : "not started");

    FreeLibrary(module);
    Report("unloaded",
           WaitFor([] { return !GetModuleHandleA("OvDurAru.dll"); }, 30000) ? "yes" : "no");
    return 0;
}
