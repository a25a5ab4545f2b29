// Runs calls against OvDurAru.dll, loaded from beside the host: one call from
// the command line, or every call of a script file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>

#include "loader/ov_loader.h"
#include "ovcall/parse.h"

namespace ovcall {

// Exit statuses of the host.
enum ExitStatus : int {
    kExitOk = 0,
    kExitUsage = 1,   // bad command line or malformed script line
    kExitModule = 2,  // the DLL or one of its exports is missing
    kExitTimeout = 3, // a slot-based call was still running at the timeout
};

// The module cannot be loaded or lacks an export.
class ModuleError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class Module {
  public:
    explicit Module(const std::string& path);
    FARPROC Resolve(const ExportInfo& info, bool byOrdinal) const;
    const ov::LoadedModule& exports() const { return m_exports; }
    const std::string& path() const { return m_path; }

  private:
    ov::LoadedModule m_exports;
    std::string m_path;
};

class Host {
  public:
    Host(Module& module, const Options& options);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The answer of one call as a person reads it. For a slot-based call this
    // waits (unless --no-wait) and shows the collected text.
    struct Result {
        std::string plain;    // what a single call prints
        std::string detailed; // what a script line prints after "Call(...) = "
        std::string note;     // a remark for the error stream
        bool timedOut = false;
    };
    Result Execute(Call& call);

    int RunSingle();
    int RunScript(const std::string& path);

  private:
    Result ExecuteSlot(short slot);
    // Before the host exits, lets the jobs it did not wait for finish.
    void LetJobsFinish();

    Module& m_module;
    Options m_options;
    std::set<short> m_unwaited; // slots started with --no-wait
};

// The bytes of a script file, without a UTF-8 byte-order mark; throws
// UsageError when the file cannot be read.
std::string ReadScriptFile(const std::string& path);

// True when this process runs under Wine, whose exit the hosts allow for.
bool UnderWine();

// Waits, at most timeoutMs, until the module's worker threads have ended:
// those that started in image, and those whose code is no longer loaded
// (workers of a module that was unloaded as they ended). The system's own
// threads (the loader's and thread-pool workers, RPC) and the host's are not
// waited for. False when some still ran at the deadline.
bool WaitForWorkersOf(HMODULE image, DWORD timeoutMs);
// The same for the threads that started at start, for a program that links
// the module's code beside its own.
bool WaitForThreadsStartedAt(const void* start, DWORD timeoutMs);

// The last step of a host. A request's worker ends just after its answer is
// published; under Wine a process that exits while one of its threads is
// still ending can crash in its exit, so there the host waits for the
// workers of image. Windows ends them safely: the host exits at once.
void LetWorkersEndBeforeExit(HMODULE image, DWORD timeoutMs = 10000);

} // namespace ovcall
