// Times the DLL's file operations against a plain loop of the same platform
// calls and against the tools a user would run instead (xcopy, cmd's dir and
// del), all in one process under the same Wine. Prints one table and writes
// it as CSV; a few extra lines break the fixed costs of a request down.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

// ---- The module, loaded as the runtime loads it ----------------------------

struct Ov {
    HMODULE handle = nullptr;
    short(__cdecl* DirCopy)(const char*, const char*, short, short);
    short(__cdecl* FileCopy)(const char*, const char*, short, short);
    short(__cdecl* FileDelete)(const char*, short);
    const char*(__cdecl* GetData)(short);
    short(__cdecl* GetFileList)(const char*, short);
    short(__cdecl* GetFileListCount)();
    const char*(__cdecl* GetFileListName)(short);
    short(__cdecl* IsActive)(short);
};

std::string ProgramDir() {
    char self[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dir(self, n);
    dir.resize(dir.find_last_of('\\') + 1);
    return dir;
}

template <class F> void Resolve(HMODULE module, F& fn, const char* name) {
    FARPROC proc = GetProcAddress(module, name);
    if (!proc) throw std::runtime_error(std::string("export missing: ") + name);
    fn = reinterpret_cast<F>(reinterpret_cast<void*>(proc));
}

Ov LoadModule() {
    Ov o;
    const std::string path = ProgramDir() + "OvDurAru.dll";
    o.handle = LoadLibraryA(path.c_str());
    if (!o.handle) throw std::runtime_error("cannot load " + path);
#define OV_RESOLVE(name) Resolve(o.handle, o.name, #name)
    OV_RESOLVE(DirCopy);
    OV_RESOLVE(FileCopy);
    OV_RESOLVE(FileDelete);
    OV_RESOLVE(GetData);
    OV_RESOLVE(GetFileList);
    OV_RESOLVE(GetFileListCount);
    OV_RESOLVE(GetFileListName);
    OV_RESOLVE(IsActive);
#undef OV_RESOLVE
    return o;
}

Ov g_ov;

// Polls as an attentive caller would: yield for the first millisecond, then
// sleep, so a long job does not share its cores with a spinning caller.
long g_polls = 0;
std::string Wait(short slot) {
    if (slot < 0) throw std::runtime_error("no free slot");
    LARGE_INTEGER f, start, now;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&start);
    while (g_ov.IsActive(slot)) {
        ++g_polls;
        QueryPerformanceCounter(&now);
        if ((now.QuadPart - start.QuadPart) * 1000 < f.QuadPart)
            SwitchToThread();
        else
            Sleep(1);
    }
    return g_ov.GetData(slot);
}

// ---- Timing ----------------------------------------------------------------

double Now() {
    static const double perSecond = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / perSecond;
}

// Under Wine, file calls made on any thread but the process's first run several
// times slower than on the first. The DLL's jobs run on worker threads by
// design, so the plain loops that stand for the platform's limit run on a
// thread of their own too; the figure includes that thread's start and join.
double TimeOnThreadMs(const std::function<void()>& fn);

double TimeMs(const std::function<void()>& fn) {
    const double t0 = Now();
    fn();
    return (Now() - t0) * 1000.0;
}

double TimeOnThreadMs(const std::function<void()>& fn) {
    return TimeMs([&] { std::thread(fn).join(); });
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// ---- Plain loops: the same platform calls, nothing else ---------------------

bool IsDots(const char* name) { return name[0] == '.'; }

struct StampCheck {
    // The skip test as the DLL makes it: open the destination, read time and size.
    static bool ByHandle(const char* dest, const WIN32_FIND_DATAA& src) {
        HANDLE h = CreateFileA(dest, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        FILETIME t{};
        GetFileTime(h, nullptr, nullptr, &t);
        DWORD high = 0;
        DWORD low = GetFileSize(h, &high);
        if (low == INVALID_FILE_SIZE) low = high = 0;
        CloseHandle(h);
        return t.dwLowDateTime == src.ftLastWriteTime.dwLowDateTime &&
               t.dwHighDateTime == src.ftLastWriteTime.dwHighDateTime && low == src.nFileSizeLow &&
               high == src.nFileSizeHigh;
    }
    // One handle, one query for time and size together.
    static bool ByHandleInfo(const char* dest, const WIN32_FIND_DATAA& src) {
        HANDLE h = CreateFileA(dest, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        BY_HANDLE_FILE_INFORMATION i{};
        const BOOL ok = GetFileInformationByHandle(h, &i);
        CloseHandle(h);
        return ok && i.ftLastWriteTime.dwLowDateTime == src.ftLastWriteTime.dwLowDateTime &&
               i.ftLastWriteTime.dwHighDateTime == src.ftLastWriteTime.dwHighDateTime &&
               i.nFileSizeLow == src.nFileSizeLow && i.nFileSizeHigh == src.nFileSizeHigh;
    }
    // The same facts by path, without a handle.
    static bool ByAttributes(const char* dest, const WIN32_FIND_DATAA& src) {
        WIN32_FILE_ATTRIBUTE_DATA d;
        if (!GetFileAttributesExA(dest, GetFileExInfoStandard, &d)) return false;
        return d.ftLastWriteTime.dwLowDateTime == src.ftLastWriteTime.dwLowDateTime &&
               d.ftLastWriteTime.dwHighDateTime == src.ftLastWriteTime.dwHighDateTime &&
               d.nFileSizeLow == src.nFileSizeLow && d.nFileSizeHigh == src.nFileSizeHigh;
    }
};

using SkipTest = bool (*)(const char*, const WIN32_FIND_DATAA&);

long PlainCopyTree(const std::string& src, const std::string& dst, SkipTest skip) {
    CreateDirectoryA(dst.c_str(), nullptr);
    WIN32_FIND_DATAA e;
    HANDLE h = FindFirstFileA((src + "\\*.*").c_str(), &e);
    if (h == INVALID_HANDLE_VALUE) return 0;
    long count = 0;
    do {
        const std::string from = src + "\\" + e.cFileName;
        const std::string to = dst + "\\" + e.cFileName;
        if (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!IsDots(e.cFileName)) count += PlainCopyTree(from, to, skip);
        } else if (!(skip && skip(to.c_str(), e)) && CopyFileA(from.c_str(), to.c_str(), FALSE)) {
            ++count;
        }
    } while (FindNextFileA(h, &e));
    FindClose(h);
    return count;
}

long PlainDelete(const std::string& dir, const std::string& pattern) {
    WIN32_FIND_DATAA e;
    HANDLE h = FindFirstFileA((dir + "\\" + pattern).c_str(), &e);
    if (h == INVALID_HANDLE_VALUE) return 0;
    long count = 0;
    do {
        const std::string path = dir + "\\" + e.cFileName;
        if (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (IsDots(e.cFileName)) continue;
            count += PlainDelete(path, pattern);
            if (RemoveDirectoryA(path.c_str())) ++count;
        } else if (DeleteFileA(path.c_str())) {
            ++count;
        }
    } while (FindNextFileA(h, &e));
    FindClose(h);
    return count;
}

struct PlainEntry {
    std::int64_t created, accessed, written;
    std::uint32_t name;
};

std::int64_t Ticks(const FILETIME& t) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                     t.dwLowDateTime);
}

long PlainList(const std::string& pattern, int mode) {
    static std::vector<PlainEntry> entries;
    static std::vector<char> names;
    entries.clear();
    names.clear();
    WIN32_FIND_DATAA e;
    HANDLE h = FindFirstFileA(pattern.c_str(), &e);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const auto at = static_cast<std::uint32_t>(names.size());
            names.insert(names.end(), e.cFileName, e.cFileName + std::strlen(e.cFileName) + 1);
            entries.push_back(
                {Ticks(e.ftCreationTime), Ticks(e.ftLastAccessTime), Ticks(e.ftLastWriteTime), at});
        } while (FindNextFileA(h, &e));
        FindClose(h);
    }
    const char* n = names.data();
    if (mode == 1)
        std::sort(entries.begin(), entries.end(), [n](const PlainEntry& a, const PlainEntry& b) {
            return std::strcmp(n + a.name, n + b.name) < 0;
        });
    else if (mode == -4)
        std::sort(entries.begin(), entries.end(),
                  [](const PlainEntry& a, const PlainEntry& b) { return a.written > b.written; });
    return static_cast<long>(entries.size());
}

// ---- Peer tools, run under the same Wine ------------------------------------

DWORD RunTool(const std::string& commandLine) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = nul;
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi)) {
        CloseHandle(nul);
        throw std::runtime_error("cannot run: " + commandLine);
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(nul);
    return code;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// ---- Data sets -------------------------------------------------------------

struct Sizes {
    int treeDirs, filesPerDir, bigFiles, bigMb, listFiles, reps, roundTrips;
};

void WriteFileOf(const std::string& path, std::size_t bytes, unsigned seed, const FILETIME* when) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
    std::vector<char> block(std::min<std::size_t>(bytes, 1 << 20));
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>('a' + (i * 7 + seed) % 26);
    for (std::size_t left = bytes; left > 0;) {
        const DWORD chunk = static_cast<DWORD>(std::min(left, block.size()));
        DWORD written = 0;
        WriteFile(h, block.data(), chunk, &written, nullptr);
        left -= chunk;
    }
    if (when) SetFileTime(h, nullptr, nullptr, when);
    CloseHandle(h);
}

std::string Name(const char* prefix, int n) {
    char b[32];
    std::snprintf(b, sizeof b, "%s%05d", prefix, n);
    return b;
}

void MakeTree(const std::string& root, const Sizes& s) {
    CreateDirectoryA(root.c_str(), nullptr);
    for (int d = 0; d < s.treeDirs; ++d) {
        const std::string dir = root + "\\" + Name("dir", d);
        CreateDirectoryA(dir.c_str(), nullptr);
        for (int f = 0; f < s.filesPerDir; ++f)
            WriteFileOf(dir + "\\" + Name("f", f) + ".dat", 512 + (f * 97) % 3500, f, nullptr);
    }
    for (int b = 0; b < s.bigFiles; ++b)
        WriteFileOf(root + "\\" + Name("big", b) + ".bin", std::size_t(s.bigMb) << 20, b, nullptr);
}

void MakeListFolder(const std::string& root, int files) {
    CreateDirectoryA(root.c_str(), nullptr);
    FILETIME base;
    GetSystemTimeAsFileTime(&base);
    for (int f = 0; f < files; ++f) {
        // Scattered write times, so the time sort has work to do.
        ULARGE_INTEGER t{{base.dwLowDateTime, base.dwHighDateTime}};
        t.QuadPart -= static_cast<std::uint64_t>((f * 7919u) % 100000u) * 10000000u;
        const FILETIME when{t.LowPart, t.HighPart};
        // Names out of order, mixed case.
        const unsigned k = (static_cast<unsigned>(f) * 2654435761u) % 1000000u;
        char name[40];
        std::snprintf(name, sizeof name, "%c%06u_%d.txt", (k % 2) ? 'F' : 'f', k, f);
        WriteFileOf(root + "\\" + name, 16, f, &when);
    }
}

void RemoveAll(const std::string& dir) {
    PlainDelete(dir, "*");
    RemoveDirectoryA(dir.c_str());
}

// ---- Results ---------------------------------------------------------------

struct Row {
    std::string operation, baseline;
    double ours, base;
    double oursMin, oursMax, baseMin, baseMax;
};

std::vector<Row> g_rows;
std::vector<std::string> g_notes;

void Add(const std::string& op, const std::vector<double>& oursRuns, const std::string& baseline,
         const std::vector<double>& baseRuns) {
    const double ours = Median(oursRuns), base = Median(baseRuns);
    const auto [oMin, oMax] = std::minmax_element(oursRuns.begin(), oursRuns.end());
    const auto [bMin, bMax] = std::minmax_element(baseRuns.begin(), baseRuns.end());
    g_rows.push_back({op, baseline, ours, base, *oMin, *oMax, *bMin, *bMax});
    const char* unit = op.find("(us)") != std::string::npos ? "us" : "ms";
    std::printf("  %-44s ours %10.2f %s   %-30s %10.2f %s   ratio %.2f\n", op.c_str(), ours, unit,
                baseline.c_str(), base, unit, ours / base);
    std::fflush(stdout);
}

void Note(const char* fmt, double a, double b = 0, double c = 0) {
    char line[256];
    std::snprintf(line, sizeof line, fmt, a, b, c);
    g_notes.push_back(line);
    std::printf("  note: %s\n", line);
    std::fflush(stdout);
}

void Expect(bool ok, const std::string& what) {
    if (!ok) std::printf("  WARNING: %s\n", what.c_str());
}

long ToLong(const std::string& s) { return std::strtol(s.c_str(), nullptr, 10); }

// ---- The measurements ------------------------------------------------------

void BenchDirCopy(const std::string& root, const Sizes& s) {
    const std::string src = root + "\\src";
    const std::string dst = root + "\\dst";
    const long files = static_cast<long>(s.treeDirs) * s.filesPerDir + s.bigFiles;
    std::vector<double> ours, plain, xcopy;
    for (int r = 0; r < s.reps; ++r) {
        RemoveAll(dst);
        std::string got;
        ours.push_back(TimeMs([&] { got = Wait(g_ov.DirCopy(src.c_str(), dst.c_str(), 0, 0)); }));
        Expect(ToLong(got) == files, "DirCopy copied " + got + " files");
        RemoveAll(dst);
        long n = 0;
        plain.push_back(TimeOnThreadMs([&] { n = PlainCopyTree(src, dst, nullptr); }));
        Expect(n == files, "plain copy count");
        RemoveAll(dst);
        DWORD code = 0;
        xcopy.push_back(TimeMs(
            [&] { code = RunTool("xcopy " + Quoted(src) + " " + Quoted(dst) + " /E /I /Y /Q"); }));
        Expect(code == 0, "xcopy failed");
    }
    Add("DirCopy, first copy", ours, "plain loop", plain);
    Add("DirCopy, first copy", ours, "xcopy /E /I /Y", xcopy);

    // dst now holds a full copy (xcopy keeps the times); make it ours once more.
    RemoveAll(dst);
    Wait(g_ov.DirCopy(src.c_str(), dst.c_str(), 0, 0));
    std::vector<double> attr, info, firstThread;
    ours.clear(), plain.clear(), xcopy.clear();
    for (int r = 0; r < s.reps; ++r) {
        std::string got;
        ours.push_back(TimeMs([&] { got = Wait(g_ov.DirCopy(src.c_str(), dst.c_str(), 0, 1)); }));
        Expect(got == "0", "skip-identical DirCopy copied " + got);
        long n = -1;
        plain.push_back(
            TimeOnThreadMs([&] { n = PlainCopyTree(src, dst, &StampCheck::ByHandle); }));
        Expect(n == 0, "plain skip loop copied files");
        attr.push_back(
            TimeOnThreadMs([&] { n = PlainCopyTree(src, dst, &StampCheck::ByAttributes); }));
        Expect(n == 0, "plain attribute skip loop copied files");
        info.push_back(
            TimeOnThreadMs([&] { n = PlainCopyTree(src, dst, &StampCheck::ByHandleInfo); }));
        Expect(n == 0, "plain skip loop copied files");
        firstThread.push_back(TimeMs([&] { n = PlainCopyTree(src, dst, &StampCheck::ByHandle); }));
        Expect(n == 0, "plain attribute skip loop copied files");
        xcopy.push_back(TimeMs(
            [&] { RunTool("xcopy " + Quoted(src) + " " + Quoted(dst) + " /E /I /Y /Q /D"); }));
    }
    Add("DirCopy, repeat, skip identical", ours, "plain loop", plain);
    Add("DirCopy, repeat, skip identical", ours, "xcopy /E /I /Y /D", xcopy);
    Note("plain skip loop: open+GetFileTime+GetFileSize %.2f ms, open+GetFileInformationByHandle "
         "%.2f ms, GetFileAttributesExA by path %.2f ms",
         Median(plain), Median(info), Median(attr));
    Note("the same plain skip loop on the process's first thread: %.2f ms (Wine serves file calls "
         "from other threads more slowly)",
         Median(firstThread));
    RemoveAll(dst);
}

void BenchFileList(const std::string& root, const Sizes& s) {
    const std::string dir = root + "\\list";
    const std::string pattern = dir + "\\*.*";
    for (const int mode : {1, -4}) {
        std::vector<double> ours, plain, dir_, names;
        for (int r = 0; r < s.reps; ++r) {
            std::string got;
            ours.push_back(TimeMs([&] { got = Wait(g_ov.GetFileList(pattern.c_str(), mode)); }));
            Expect(ToLong(got) == s.listFiles, "GetFileList found " + got);
            // Reading every name back, as a script would.
            names.push_back(TimeMs([&] {
                const short count = g_ov.GetFileListCount();
                for (short i = 0; i < count; ++i)
                    g_ov.GetFileListName(i);
            }));
            long n = 0;
            plain.push_back(TimeOnThreadMs([&] { n = PlainList(pattern, mode); }));
            Expect(n == s.listFiles, "plain list count");
            const std::string order = mode == 1 ? "/o:n" : "/o:-d";
            dir_.push_back(
                TimeMs([&] { RunTool("cmd /c dir /b " + order + " " + Quoted(pattern)); }));
        }
        const std::string op =
            "GetFileList, " + std::to_string(s.listFiles) + " files, mode " + std::to_string(mode);
        Add(op, ours, "plain loop", plain);
        Add(op, ours, mode == 1 ? "cmd /c dir /b /o:n" : "cmd /c dir /b /o:-d", dir_);
        Note("reading all names back with GetFileListName: %.2f ms", Median(names));
    }
}

void BenchDelete(const std::string& root, const Sizes& s) {
    const std::string src = root + "\\src";
    const std::string victim = root + "\\del";
    const long entries = static_cast<long>(s.treeDirs) * (s.filesPerDir + 1) + s.bigFiles;
    std::vector<double> ours, plain, del;
    for (int r = 0; r < s.reps; ++r) {
        RemoveAll(victim);
        PlainCopyTree(src, victim, nullptr);
        std::string got;
        const std::string pattern = victim + "\\*.*";
        ours.push_back(TimeMs([&] { got = Wait(g_ov.FileDelete(pattern.c_str(), 1)); }));
        Expect(ToLong(got) == entries, "FileDelete deleted " + got);
        PlainCopyTree(src, victim, nullptr);
        long n = 0;
        plain.push_back(TimeOnThreadMs([&] { n = PlainDelete(victim, "*.*"); }));
        Expect(n == entries, "plain delete count");
        PlainCopyTree(src, victim, nullptr);
        del.push_back(TimeMs([&] { RunTool("cmd /c del /s /q " + Quoted(pattern)); }));
    }
    RemoveAll(victim);
    const std::string op = "FileDelete, tree, recursive";
    Add(op, ours, "plain loop", plain);
    Add(op, ours, "cmd /c del /s /q (files only)", del);
}

// The job of one skip-identical FileCopy, done inline.
void SkipJob(const char* src, const char* dst) {
    WIN32_FIND_DATAA e{};
    HANDLE s = CreateFileA(src, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    GetFileTime(s, nullptr, nullptr, &e.ftLastWriteTime);
    e.nFileSizeLow = GetFileSize(s, &e.nFileSizeHigh);
    const bool same = StampCheck::ByHandle(dst, e);
    CloseHandle(s);
    if (!same) CopyFileA(src, dst, FALSE);
}

struct JobArgs {
    const char* src;
    const char* dst;
};

DWORD WINAPI JobThread(LPVOID p) {
    auto* a = static_cast<JobArgs*>(p);
    SkipJob(a->src, a->dst);
    return 0;
}
struct Unwind {};
__attribute__((noinline)) void Throw() { throw Unwind{}; }

DWORD WINAPI EmptyThread(LPVOID) { return 0; }

// The job on its own thread, its end published through a flag as a slot does.
struct FlagArgs {
    JobArgs job;
    volatile LONG active;
};
DWORD WINAPI FlagThread(LPVOID p) {
    auto* a = static_cast<FlagArgs*>(p);
    SkipJob(a->job.src, a->job.dst);
    InterlockedExchange(&a->active, 0);
    return 0;
}

// A fresh thread's first C++ throw, as a worker ends its thread by one.
DWORD WINAPI ThrowingThread(LPVOID) {
    try {
        Throw();
    } catch (const Unwind&) {
    }
    return 0;
}

double g_bareBeforeLoad = 0;

double ThreadCostUs(LPTHREAD_START_ROUTINE fn, void* arg, int n) {
    const double t0 = Now();
    for (int i = 0; i < n; ++i) {
        HANDLE t = CreateThread(nullptr, 0, fn, arg, 0, nullptr);
        WaitForSingleObject(t, INFINITE);
        CloseHandle(t);
    }
    return (Now() - t0) * 1e6 / n;
}

// What a worker of the DLL does around its job: pin the module, signal its
// start-up, and end through FreeLibraryAndExitThread.
struct FrameworkArgs {
    HANDLE started;
    HMODULE pin;
};
DWORD WINAPI PinnedThread(LPVOID p) {
    const FrameworkArgs a = *static_cast<FrameworkArgs*>(p);
    SetEvent(a.started);
    FreeLibraryAndExitThread(a.pin, 0);
}

double PerCallUs(int n, const std::function<void()>& fn) {
    const double t0 = Now();
    for (int i = 0; i < n; ++i)
        fn();
    return (Now() - t0) * 1e6 / n;
}

void BenchRoundTrip(const std::string& root, const Sizes& s) {
    const std::string src = root + "\\one.dat";
    const std::string dst = root + "\\one.copy";
    WriteFileOf(src, 4096, 1, nullptr);
    CopyFileA(src.c_str(), dst.c_str(), FALSE);
    JobArgs args{src.c_str(), dst.c_str()};
    const int n = s.roundTrips;

    std::vector<double> ours, base, bare, job, call, wait, pinned, flagged, throwing;
    long polls = 0;
    for (int r = 0; r < s.reps; ++r) {
        g_polls = 0;
        double tCall = 0, tWait = 0;
        ours.push_back(PerCallUs(n, [&] {
            const double t0 = Now();
            const short slot = g_ov.FileCopy(src.c_str(), dst.c_str(), 0, 1);
            const double t1 = Now();
            const std::string got = Wait(slot);
            tCall += t1 - t0;
            tWait += Now() - t1;
            if (got != "1") std::printf("  WARNING: FileCopy gave %s\n", got.c_str());
        }));
        call.push_back(tCall * 1e6 / n);
        wait.push_back(tWait * 1e6 / n);
        polls += g_polls;
        base.push_back(PerCallUs(n, [&] {
            HANDLE t = CreateThread(nullptr, 0, &JobThread, &args, 0, nullptr);
            WaitForSingleObject(t, INFINITE);
            CloseHandle(t);
        }));
        bare.push_back(PerCallUs(n, [&] {
            HANDLE t = CreateThread(nullptr, 0, &EmptyThread, nullptr, 0, nullptr);
            WaitForSingleObject(t, INFINITE);
            CloseHandle(t);
        }));
        job.push_back(PerCallUs(n, [&] { SkipJob(args.src, args.dst); }));
        throwing.push_back(ThreadCostUs(&ThrowingThread, nullptr, n));
        g_polls = 0;
        flagged.push_back(PerCallUs(n, [&] {
            FlagArgs a{args, 1};
            HANDLE t = CreateThread(nullptr, 0, &FlagThread, &a, 0, nullptr);
            while (a.active)
                SwitchToThread();
            // The thread still ends on its own, as a worker does after its flag.
            WaitForSingleObject(t, INFINITE);
            CloseHandle(t);
        }));
        pinned.push_back(PerCallUs(n, [&] {
            FrameworkArgs a{CreateEventA(nullptr, TRUE, FALSE, nullptr), nullptr};
            GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                               reinterpret_cast<LPCSTR>(&PinnedThread), &a.pin);
            HANDLE t = CreateThread(nullptr, 0, &PinnedThread, &a, 0, nullptr);
            HANDLE both[] = {a.started, t};
            WaitForMultipleObjects(2, both, FALSE, INFINITE);
            WaitForSingleObject(t, INFINITE);
            CloseHandle(t);
            CloseHandle(a.started);
        }));
    }
    Add("FileCopy round trip, skip identical (us)", ours, "thread create+join + job", base);
    Note("bare thread create+join %.1f us (%.1f us before the DLL was loaded), the job alone "
         "%.1f us",
         Median(bare), g_bareBeforeLoad, Median(job));
    Note("thread + job + flag polled as IsActive (yield), then joined: %.1f us; "
         "thread whose first act is a C++ throw: %.1f us",
         Median(flagged), Median(throwing));
    Note("FileCopy export returns after %.1f us, then %.1f us until IsActive is 0 (%.1f polls)",
         Median(call), Median(wait), static_cast<double>(polls) / (n * s.reps));
    Note("thread with start-up handshake, module pin and FreeLibraryAndExitThread: %.1f us",
         Median(pinned));
    Note("one Sleep(1), the caller's poll step once a job runs past 1 ms: %.2f ms",
         PerCallUs(50, [] { Sleep(1); }) / 1000.0);
    Note("one IsActive call: %.2f us; one C++ throw and catch: %.1f us",
         PerCallUs(100000, [] { g_ov.IsActive(29); }), PerCallUs(2000, [] {
             try {
                 Throw();
             } catch (const Unwind&) {
             }
         }));
    DeleteFileA(src.c_str());
    DeleteFileA(dst.c_str());
}

void WriteCsv(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) {
        std::printf("cannot write %s\n", path.c_str());
        return;
    }
    std::fprintf(f, "operation,ours,baseline,baseline_time,ratio,unit,ours_min,ours_max,"
                    "baseline_min,baseline_max\n");
    for (const Row& r : g_rows)
        std::fprintf(f, "\"%s\",%.3f,\"%s\",%.3f,%.3f,%s,%.3f,%.3f,%.3f,%.3f\n",
                     r.operation.c_str(), r.ours, r.baseline.c_str(), r.base, r.ours / r.base,
                     r.operation.find("(us)") != std::string::npos ? "us" : "ms", r.oursMin,
                     r.oursMax, r.baseMin, r.baseMax);
    std::fclose(f);
}

void PrintTable(const Sizes& s, bool full) {
    std::printf("\n%s data: tree %d files in %d folders + %d x %d MB, list %d files; "
                "median of %d runs\n\n",
                full ? "Full" : "Default", s.treeDirs * s.filesPerDir, s.treeDirs, s.bigFiles,
                s.bigMb, s.listFiles, s.reps);
    std::printf("| Operation | Ours | Baseline | Baseline time | Ratio |\n");
    std::printf("|---|---:|---|---:|---:|\n");
    for (const Row& r : g_rows) {
        const bool us = r.operation.find("(us)") != std::string::npos;
        std::printf("| %s | %.1f %s | %s | %.1f %s | %.2f |\n", r.operation.c_str(), r.ours,
                    us ? "us" : "ms", r.baseline.c_str(), r.base, us ? "us" : "ms",
                    r.ours / r.base);
    }
    std::printf("\nNotes:\n");
    for (const std::string& n : g_notes)
        std::printf("- %s\n", n.c_str());
}

} // namespace

int main(int argc, char** argv) {
    bool full = false;
    int reps = 0;
    std::string csv = ProgramDir() + "ovbench.csv";
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--full")
            full = true;
        else if (a == "--reps" && i + 1 < argc)
            reps = std::atoi(argv[++i]);
        else if (a == "--csv" && i + 1 < argc)
            csv = argv[++i];
        else if (a == "--only" && i + 1 < argc)
            only = argv[++i];
        else {
            std::printf("usage: ovbench [--full] [--reps N] [--csv file] "
                        "[--only copy|list|delete|trip]\n");
            return 2;
        }
    }
    Sizes s = full ? Sizes{50, 100, 3, 32, 30000, 5, 500} : Sizes{10, 100, 2, 16, 10000, 3, 200};
    if (reps > 0) s.reps = reps;

    try {
        g_bareBeforeLoad = ThreadCostUs(&EmptyThread, nullptr, 200);
        g_ov = LoadModule();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const std::string root =
            std::string(temp) + "ovbench_" + std::to_string(GetCurrentProcessId());
        RemoveAll(root);
        CreateDirectoryA(root.c_str(), nullptr);
        const auto wanted = [&](const char* part) { return only.empty() || only == part; };

        double t = Now();
        if (wanted("copy") || wanted("delete")) MakeTree(root + "\\src", s);
        if (wanted("list")) MakeListFolder(root + "\\list", s.listFiles);
        std::printf("data sets built in %.1f s\n", Now() - t);

        if (wanted("copy")) BenchDirCopy(root, s);
        if (wanted("list")) BenchFileList(root, s);
        if (wanted("delete")) BenchDelete(root, s);
        if (wanted("trip")) BenchRoundTrip(root, s);

        RemoveAll(root);
        PrintTable(s, full);
        WriteCsv(csv);
        std::printf("\nCSV: %s\n", csv.c_str());
    } catch (const std::exception& e) {
        std::printf("ovbench: %s\n", e.what());
        return 1;
    }
    return 0;
}
