// ovcall: calls the exports of OvDurAru.dll from the command line or from a
// script, the way a SCADA runtime would. Run "ovcall --help".
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "ovcall/host.h"

namespace {

int Fail(int status, const char* message) {
    std::fprintf(stderr, "ovcall: %s\n", message);
    return status;
}

int Run(const std::vector<std::string>& args) {
    using namespace ovcall;
    try {
        const Options options = ParseCommandLine(args);
        if (options.help) {
            std::fputs(HelpText().c_str(), stdout);
            return kExitOk;
        }
        if (options.list) {
            std::fputs(ListText().c_str(), stdout);
            return kExitOk;
        }
        Module module(ov::ModuleBesideProgram());
        Host host(module, options);
        return options.scriptPath.empty() ? host.RunSingle() : host.RunScript(options.scriptPath);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "ovcall: %s\n", e.what());
        if (args.empty()) std::fputs(HelpText().c_str(), stderr);
        return kExitUsage;
    } catch (const ModuleError& e) {
        return Fail(kExitModule, e.what());
    } catch (const std::exception& e) {
        return Fail(kExitUsage, e.what());
    }
}

} // namespace

int main(int argc, char** argv) {
    // No message boxes for a missing DLL or drive: a host run from scripts.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    const int status = Run(std::vector<std::string>(argv + 1, argv + argc));
    std::fflush(nullptr);
    ovcall::LetWorkersEndBeforeExit(GetModuleHandleA("OvDurAru.dll"));
    return status;
}
