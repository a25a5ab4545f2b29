#include "ovcall/host.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/handles.h"

namespace ovcall {
namespace {

constexpr DWORD kPollMs = 2;

std::optional<std::string> EnvironmentVariable(std::string_view name) {
    const std::string key(name);
    const DWORD need = GetEnvironmentVariableA(key.c_str(), nullptr, 0);
    if (need == 0) return std::nullopt;
    std::string value(need, '\0');
    const DWORD n = GetEnvironmentVariableA(key.c_str(), value.data(), need);
    value.resize(n < need ? n : 0);
    return value;
}

void PrintLine(FILE* out, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), out);
    std::fputc('\n', out);
    std::fflush(out);
}

// Continuation lines of a message, indented under its first line.
std::string Indented(std::string text) {
    for (auto at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        text.insert(at + 1, "    ");
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

Module::Module(const std::string& path) try : m_exports(ov::LoadModule(path)), m_path(path) {
} catch (const ov::LoadError& e) {
    throw ModuleError(std::string(e.what()) + "; OvDurAru.dll must lie beside ovcall.exe");
}

FARPROC Module::Resolve(const ExportInfo& info, bool byOrdinal) const {
    const char* key = byOrdinal ? MAKEINTRESOURCEA(info.ordinal) : info.name.data();
    FARPROC proc = GetProcAddress(m_exports.handle, key);
    if (!proc)
        throw ModuleError(
            m_path + " has no export " +
            (byOrdinal ? "#" + std::to_string(info.ordinal) : std::string(info.name)));
    return proc;
}

std::string ReadScriptFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw UsageError("cannot read the script " + Quote(path));
    std::ostringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    if (s.starts_with("\xEF\xBB\xBF")) s.erase(0, 3);
    return s;
}

Host::Host(Module& module, const Options& options) : m_module(module), m_options(options) {}

Host::~Host() = default;

Host::Result Host::Execute(Call& call) {
    FARPROC proc = m_module.Resolve(*call.info, call.byOrdinal);
    const Answer answer = call.info->invoke(proc, call.args);
    Result r;
    switch (call.info->result) {
    case ResultKind::Code:
        r.plain = r.detailed = std::to_string(answer.code);
        break;
    case ResultKind::Text:
        r.plain = answer.text;
        r.detailed = answer.nullText ? "null pointer" : Quote(answer.text);
        if (answer.nullText) r.note = "the export answered a null pointer";
        break;
    case ResultKind::Slot:
        r = ExecuteSlot(answer.code);
        break;
    }
    return r;
}

Host::Result Host::ExecuteSlot(short slot) {
    Result r;
    const std::string number = std::to_string(slot);
    if (slot < 0) {
        r.plain = number;
        r.detailed = number + " (no free slot)";
        r.note = "no free operation slot";
        return r;
    }
    m_unwaited.erase(slot); // a new request in a slot we left earlier
    if (m_options.noWait) {
        m_unwaited.insert(slot);
        r.plain = number;
        r.detailed = "slot " + number;
        return r;
    }
    const ULONGLONG start = GetTickCount64();
    while (m_module.exports().IsActive(slot)) {
        if (m_options.timeoutMs && GetTickCount64() - start >= *m_options.timeoutMs) {
            r.timedOut = true;
            r.note = "slot " + number + " still active after " +
                     std::to_string(*m_options.timeoutMs) + " ms";
            r.plain = number;
            r.detailed = "timeout: " + r.note;
            return r;
        }
        Sleep(kPollMs);
    }
    r.plain = m_module.exports().GetData(slot);
    r.detailed = Quote(r.plain) + " (slot " + number + ")";
    return r;
}

void Host::LetJobsFinish() {
    const ULONGLONG start = GetTickCount64();
    for (short slot : m_unwaited) {
        while (m_module.exports().IsActive(slot)) {
            if (m_options.timeoutMs && GetTickCount64() - start >= *m_options.timeoutMs) break;
            Sleep(kPollMs);
        }
    }
    m_unwaited.clear();
}

int Host::RunSingle() {
    Call call = BuildCall(m_options.call);
    const Result r = Execute(call);
    if (r.timedOut) {
        PrintLine(stderr, "ovcall: " + std::string(call.info->name) + ": " + r.note);
        LetJobsFinish();
        return kExitTimeout;
    }
    PrintLine(stdout, r.plain);
    if (!r.note.empty()) PrintLine(stderr, "ovcall: " + r.note);
    LetJobsFinish();
    return kExitOk;
}

int Host::RunScript(const std::string& path) {
    SetEnvironmentVariableA("OVCALL_DIR", ov::ProgramFolder().c_str());
    struct Step {
        int line;
        Call call;
    };
    std::vector<Step> steps;
    std::vector<std::string> errors;
    int number = 0;
    // Every line is checked before the first runs: a script with a typo does
    // nothing rather than half of its work.
    for (const std::string& line : Lines(ReadScriptFile(path))) {
        ++number;
        try {
            std::vector<std::string> words = SplitScriptLine(line);
            if (words.empty()) continue;
            for (auto& w : words)
                w = ExpandVariables(w, EnvironmentVariable);
            Call call = BuildCall(words);
            m_module.Resolve(*call.info, call.byOrdinal);
            steps.push_back({number, std::move(call)});
        } catch (const UsageError& e) {
            errors.push_back(path + ":" + std::to_string(number) + ": " + Indented(e.what()));
        }
    }
    if (!errors.empty()) {
        for (const auto& e : errors)
            PrintLine(stderr, e);
        PrintLine(stderr, "ovcall: " + std::to_string(errors.size()) + " malformed line(s) in " +
                              path + "; nothing was run");
        return kExitUsage;
    }
    int status = kExitOk;
    for (Step& step : steps) {
        const std::string shown = FormatCall(step.call); // before CreateNewDir edits its path
        const Result r = Execute(step.call);
        PrintLine(stdout, shown + " = " + r.detailed);
        if (r.timedOut) status = kExitTimeout;
    }
    LetJobsFinish();
    return status;
}

namespace {

using UniqueSnapshot = ov::UniqueHandleOf<HANDLE, &ov::CloseKernelHandle, -1>;

// The routine a thread was started at, as its creator gave it.
const void* StartAddressOf(HANDLE thread) {
    using Query = LONG(NTAPI*)(HANDLE, THREADINFOCLASS, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationThread")));
    void* start = nullptr;
    if (!query ||
        query(thread, ThreadQuerySetWin32StartAddress, &start, sizeof start, nullptr) != 0)
        return nullptr;
    return start;
}

bool StartedInWorkerCode(const void* start, HMODULE image) {
    if (!start) return false; // unknown: not ours to wait for
    HMODULE owner = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCSTR>(start), &owner))
        return true; // code that was unloaded: only an ending worker can be there
    return owner == image;
}

// The other threads of this process that still run and whose start address
// passes startedThere.
template <class Test> std::vector<ov::UniqueHandle> RunningThreads(Test startedThere) {
    std::vector<ov::UniqueHandle> threads;
    const UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return threads;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more;
         more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID != GetCurrentProcessId() ||
            entry.th32ThreadID == GetCurrentThreadId())
            continue;
        ov::UniqueHandle thread(
            OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID));
        if (thread && WaitForSingleObject(thread.get(), 0) == WAIT_TIMEOUT &&
            startedThere(StartAddressOf(thread.get())))
            threads.push_back(std::move(thread));
    }
    return threads;
}

template <class Test> bool WaitForThreads(Test startedThere, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    // Listed again after each round: a worker may have started meanwhile.
    for (auto threads = RunningThreads(startedThere); !threads.empty();
         threads = RunningThreads(startedThere)) {
        for (const auto& thread : threads) {
            const ULONGLONG now = GetTickCount64();
            if (now >= deadline) return false;
            WaitForSingleObject(thread.get(), static_cast<DWORD>(deadline - now));
        }
    }
    return true;
}

} // namespace

bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool WaitForWorkersOf(HMODULE image, DWORD timeoutMs) {
    return WaitForThreads([image](const void* start) { return StartedInWorkerCode(start, image); },
                          timeoutMs);
}

bool WaitForThreadsStartedAt(const void* start, DWORD timeoutMs) {
    return WaitForThreads([start](const void* at) { return at == start; }, timeoutMs);
}

void LetWorkersEndBeforeExit(HMODULE image, DWORD timeoutMs) {
    if (UnderWine()) WaitForWorkersOf(image, timeoutMs);
}

} // namespace ovcall
