// Times the DLL's file operations against plain loops of the platform calls
// (the wide long-path calls and the ANSI calls of before) and against the
// tools a user would run instead (xcopy, cmd's dir and del), all in one process
// under the same Wine. Prints one table and writes it as CSV; a few extra lines
// break the fixed costs of a request down. The list's memory per entry is read
// in processes of their own. --scale adds the cost per file of a 100,000-file
// listing and a 20,000-file copy against the default sets'.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/handles.h"
#include "loader/ov_loader.h"

namespace {

// ---- The module, loaded as the runtime loads it ----------------------------

std::string SelfPath() {
    char self[MAX_PATH];
    return std::string(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
}

ov::LoadedModule g_ov;

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

// ---- Plain ANSI loops: today's calls, nothing else ---------------------------

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

// The list as the DLL keeps it: fixed-size entries and one block of ANSI names.
// Kept from one listing to the next, as the DLL keeps its storage.
struct PlainListing {
    std::vector<PlainEntry> entries;
    std::vector<char> names;

    void Clear() {
        entries.clear();
        names.clear();
    }
    template <class Record> void Add(const char* name, std::size_t length, const Record& r) {
        const auto at = static_cast<std::uint32_t>(names.size());
        names.insert(names.end(), name, name + length);
        names.push_back('\0');
        entries.push_back(
            {Ticks(r.ftCreationTime), Ticks(r.ftLastAccessTime), Ticks(r.ftLastWriteTime), at});
    }
    void Sort(int mode) {
        const char* n = names.data();
        if (mode == 1)
            std::sort(entries.begin(), entries.end(),
                      [n](const PlainEntry& a, const PlainEntry& b) {
                          return std::strcmp(n + a.name, n + b.name) < 0;
                      });
        else if (mode == -4)
            std::sort(entries.begin(), entries.end(), [](const PlainEntry& a, const PlainEntry& b) {
                return a.written > b.written;
            });
    }
    long Size() const { return static_cast<long>(entries.size()); }
};

long PlainList(const std::string& pattern, int mode, PlainListing& list) {
    list.Clear();
    WIN32_FIND_DATAA e;
    HANDLE h = FindFirstFileA(pattern.c_str(), &e);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                list.Add(e.cFileName, std::strlen(e.cFileName), e);
        } while (FindNextFileA(h, &e));
        FindClose(h);
    }
    list.Sort(mode);
    return list.Size();
}

// ---- Plain wide loops: the long-path calls the walks move to ----------------

void CloseSearch(HANDLE h) { FindClose(h); }
using Search = ov::UniqueHandleOf<HANDLE, &CloseSearch, -1>;
using Handle = ov::UniqueFile; // null or INVALID_HANDLE_VALUE: none

struct SearchKind {
    FINDEX_INFO_LEVELS level;
    DWORD flags;
};
// The walks need no short names and read whole folders; the listing falls
// back to the short name.
constexpr SearchKind kWalk{FindExInfoBasic, FIND_FIRST_EX_LARGE_FETCH};
constexpr SearchKind kListing{FindExInfoStandard, 0};

Search FindFirst(const std::wstring& pattern, SearchKind kind, WIN32_FIND_DATAW& e) {
    return Search(FindFirstFileExW(pattern.c_str(), kind.level, &e, FindExSearchNameMatch, nullptr,
                                   kind.flags));
}

bool IsDots(const wchar_t* name) { return name[0] == L'.'; }

std::wstring Widen(const std::string& text) {
    const int size = static_cast<int>(text.size());
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

// \\?\C:\... or \\?\UNC\server\share\...: made once at the root, as the DLL does.
std::wstring LongPathOf(const std::string& path) {
    const std::wstring wide = Widen(path);
    std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
    full.resize(
        GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    if (full.rfind(L"\\\\?\\", 0) == 0) return full;
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// '\' and a name on the end of a path for the scope: one buffer for a whole walk.
class WideAppended {
  public:
    WideAppended(std::wstring& path, const wchar_t* name) : m_path(path), m_mark(path.size()) {
        path.append(1, L'\\').append(name);
    }
    ~WideAppended() { m_path.resize(m_mark); }
    WideAppended(const WideAppended&) = delete;
    WideAppended& operator=(const WideAppended&) = delete;

  private:
    std::wstring& m_path;
    std::size_t m_mark;
};

Search FindIn(std::wstring& dir, const wchar_t* pattern, SearchKind kind, WIN32_FIND_DATAW& e) {
    const WideAppended searchPath(dir, pattern);
    return FindFirst(dir, kind, e);
}

bool WideDestinationMatches(const std::wstring& dest, const WIN32_FIND_DATAW& src) {
    const Handle h =
        Handle(CreateFileW(dest.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return false;
    FILETIME t{};
    GetFileTime(h.get(), nullptr, nullptr, &t);
    DWORD high = 0;
    DWORD low = GetFileSize(h.get(), &high);
    if (low == INVALID_FILE_SIZE) low = high = 0;
    return t.dwLowDateTime == src.ftLastWriteTime.dwLowDateTime &&
           t.dwHighDateTime == src.ftLastWriteTime.dwHighDateTime && low == src.nFileSizeLow &&
           high == src.nFileSizeHigh;
}

long WideCopyTree(std::wstring& src, std::wstring& dst, bool skipIdentical) {
    CreateDirectoryW(dst.c_str(), nullptr);
    WIN32_FIND_DATAW e;
    const Search search = FindIn(src, L"*.*", kWalk, e);
    if (!search) return 0;
    long count = 0;
    do {
        const WideAppended from(src, e.cFileName);
        const WideAppended to(dst, e.cFileName);
        if (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!IsDots(e.cFileName)) count += WideCopyTree(src, dst, skipIdentical);
        } else if (!(skipIdentical && WideDestinationMatches(dst, e)) &&
                   CopyFileW(src.c_str(), dst.c_str(), FALSE)) {
            ++count;
        }
    } while (FindNextFileW(search.get(), &e));
    return count;
}

long WideCopy(const std::string& src, const std::string& dst, bool skipIdentical) {
    std::wstring from = LongPathOf(src);
    std::wstring to = LongPathOf(dst);
    return WideCopyTree(from, to, skipIdentical);
}

long WideDeleteIn(std::wstring& dir, const wchar_t* pattern) {
    WIN32_FIND_DATAW e;
    const Search search = FindIn(dir, pattern, kWalk, e);
    if (!search) return 0;
    long count = 0;
    do {
        const bool isDir = e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if (isDir && IsDots(e.cFileName)) continue;
        const WideAppended path(dir, e.cFileName);
        if (isDir) {
            count += WideDeleteIn(dir, pattern);
            if (RemoveDirectoryW(dir.c_str())) ++count;
        } else if (DeleteFileW(dir.c_str())) {
            ++count;
        }
    } while (FindNextFileW(search.get(), &e));
    return count;
}

long WideDelete(const std::string& dir, const wchar_t* pattern) {
    std::wstring path = LongPathOf(dir);
    return WideDeleteIn(path, pattern);
}

// Length of the ANSI name, 0 when it does not convert exactly: a best-fit or
// default character would name another file, or none.
std::size_t ToAnsiExactly(const wchar_t* name, char* out, int size) {
    // UTF-8 takes neither the flag nor the used-default answer; it fails on
    // what it cannot convert instead.
    static const bool utf8 = GetACP() == CP_UTF8;
    BOOL usedDefault = FALSE;
    const int n = utf8 ? WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, name, -1, out, size,
                                             nullptr, nullptr)
                       : WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, -1, out, size,
                                             nullptr, &usedDefault);
    return n > 0 && !usedDefault ? static_cast<std::size_t>(n - 1) : 0;
}

long WideList(const std::string& pattern, int mode, PlainListing& list,
              SearchKind kind = kListing) {
    list.Clear();
    WIN32_FIND_DATAW e;
    const Search search = FindFirst(LongPathOf(pattern), kind, e);
    if (search) {
        char name[MAX_PATH * 3];
        do {
            if (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            std::size_t length = ToAnsiExactly(e.cFileName, name, sizeof name);
            if (!length && e.cAlternateFileName[0])
                length = ToAnsiExactly(e.cAlternateFileName, name, sizeof name);
            if (length) list.Add(name, length, e);
        } while (FindNextFileW(search.get(), &e));
    }
    list.Sort(mode);
    return list.Size();
}

// ---- Peer tools, run under the same Wine ------------------------------------

Handle OpenNul() {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    return Handle(CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr));
}

// Input and errors from and to NUL.
Handle StartProcess(const std::string& commandLine, HANDLE output) {
    const Handle nul = OpenNul();
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdError = nul.get();
    si.hStdOutput = output ? output : nul.get();
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi))
        throw std::runtime_error("cannot run: " + commandLine);
    CloseHandle(pi.hThread);
    return Handle(pi.hProcess);
}

DWORD ExitCodeOf(const Handle& process) {
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return code;
}

DWORD RunTool(const std::string& commandLine) {
    return ExitCodeOf(StartProcess(commandLine, nullptr));
}

// Its standard output, read to the end.
std::string RunCaptured(const std::string& commandLine) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) throw std::runtime_error("cannot make a pipe");
    const Handle reader(readEnd);
    Handle writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    const Handle process = StartProcess(commandLine, writeEnd);
    writer.reset(); // only the child holds it now, so the reads end when it does
    std::string text;
    char block[512];
    DWORD got = 0;
    while (ReadFile(reader.get(), block, sizeof block, &got, nullptr) && got > 0)
        text.append(block, got);
    ExitCodeOf(process);
    return text;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// ---- Data sets -------------------------------------------------------------

struct Sizes {
    int treeDirs, filesPerDir, bigFiles, bigMb, listFiles, reps, roundTrips;
};

// The scale rows: a listing and a copy far past the default sizes.
constexpr int kScaleListFiles = 100000;
constexpr int kScaleTreeDirs = 200; // of filesPerDir files each: 20,000

void WriteFileOf(const std::string& path, std::size_t bytes, unsigned seed, const FILETIME* when) {
    const Handle h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) throw std::runtime_error("cannot create " + path);
    std::vector<char> block(std::min<std::size_t>(bytes, 1 << 20));
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>('a' + (i * 7 + seed) % 26);
    for (std::size_t left = bytes; left > 0;) {
        const DWORD chunk = static_cast<DWORD>(std::min(left, block.size()));
        DWORD written = 0;
        WriteFile(h.get(), block.data(), chunk, &written, nullptr);
        left -= chunk;
    }
    if (when) SetFileTime(h.get(), nullptr, nullptr, when);
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

void MakeListFolder(const std::string& root, int files, std::size_t bytes) {
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
        WriteFileOf(root + "\\" + name, bytes, f, &when);
    }
}

void RemoveAll(const std::string& dir) {
    PlainDelete(dir, "*");
    RemoveDirectoryA(dir.c_str());
}

// ---- Results ---------------------------------------------------------------

constexpr const char* kMs = "ms";
constexpr const char* kUs = "us";
constexpr const char* kUsPerFile = "us/file";
constexpr const char* kBytesPerEntry = "B/entry";

// What the issue asks of the ratios: the loops' pace, and a cost per file that stays flat.
constexpr double kAsFastAs = 1.10;
constexpr double kFlat = 1.20;

struct Row {
    std::string operation, unit, baseline;
    double ours, base, ratio;
    double oursMin, oursMax, baseMin, baseMax;
    double target; // the ratio not to pass; 0 when the row has none
};

std::vector<Row> g_rows;
std::vector<std::string> g_notes;

std::string Figure(double v) {
    char b[32];
    std::snprintf(b, sizeof b, v < 10 ? "%.2f" : "%.1f", v);
    return b;
}

std::string Verdict(const Row& r) {
    if (r.target <= 0) return "";
    char b[48];
    std::snprintf(b, sizeof b, "within %.2f: %s", r.target, r.ratio <= r.target ? "yes" : "NO");
    return b;
}

// The median of the runs' own ratios: each run times ours and its baseline
// back to back, so a load that comes and goes on the shared machine mostly
// hits both sides of one ratio.
double PairedRatio(const std::vector<double>& ours, const std::vector<double>& base) {
    if (ours.size() != base.size()) return Median(ours) / Median(base);
    std::vector<double> ratios(ours.size());
    std::transform(ours.begin(), ours.end(), base.begin(), ratios.begin(), std::divides<>());
    return Median(ratios);
}

void Add(const std::string& op, const char* unit, const std::vector<double>& oursRuns,
         const std::string& baseline, const std::vector<double>& baseRuns, double target = 0) {
    const double ours = Median(oursRuns), base = Median(baseRuns);
    const auto [oMin, oMax] = std::minmax_element(oursRuns.begin(), oursRuns.end());
    const auto [bMin, bMax] = std::minmax_element(baseRuns.begin(), baseRuns.end());
    g_rows.push_back(Row{op, unit, baseline, ours, base, PairedRatio(oursRuns, baseRuns), *oMin,
                         *oMax, *bMin, *bMax, target});
}

void Note(const char* fmt, double a, double b = 0, double c = 0) {
    char line[256];
    std::snprintf(line, sizeof line, fmt, a, b, c);
    g_notes.push_back(line);
}

void Expect(bool ok, const std::string& what) {
    if (!ok) std::printf("  WARNING: %s\n", what.c_str());
}

long ToLong(const std::string& s) { return std::strtol(s.c_str(), nullptr, 10); }

std::vector<double> UsPerFile(std::vector<double> ms, long files) {
    for (double& v : ms)
        v = v * 1000.0 / static_cast<double>(files);
    return ms;
}

// ---- The list's memory -----------------------------------------------------

// Three readings of one process's memory: what its heaps hand out, the private
// memory committed (what Windows counts as private bytes), and the counter
// GetProcessMemoryInfo gives for the latter (0 under Wine 8).
struct MemoryReading {
    std::int64_t heapInUse, committed, privateUsage;
};

std::int64_t HeapBytesInUse() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    std::int64_t total = 0;
    for (HANDLE heap : heaps) {
        HeapLock(heap);
        PROCESS_HEAP_ENTRY e{};
        while (HeapWalk(heap, &e))
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += e.cbData;
        HeapUnlock(heap);
    }
    return total;
}

std::int64_t CommittedPrivateBytes() {
    std::int64_t total = 0;
    MEMORY_BASIC_INFORMATION m;
    for (const char* at = nullptr; VirtualQuery(at, &m, sizeof m) == sizeof m;
         at = static_cast<const char*>(m.BaseAddress) + m.RegionSize)
        if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE) total += m.RegionSize;
    return total;
}

MemoryReading ReadMemory() {
    PROCESS_MEMORY_COUNTERS_EX c{};
    c.cb = sizeof c;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c),
                         sizeof c);
    return {HeapBytesInUse(), CommittedPrivateBytes(), static_cast<std::int64_t>(c.PrivateUsage)};
}

// Runs in a process of its own: one that had listed before would still hold
// that list's storage. The empty folder's listing first starts the list, a
// worker thread and the heap, so the difference is the entries alone.
int MemoryProbe(const std::string& who, const std::string& pattern,
                const std::string& emptyPattern) {
    long count = 0;
    MemoryReading before{}, after{};
    if (who == "dll") {
        g_ov = ov::LoadModule(ov::ModuleBesideProgram());
        Wait(g_ov.GetFileList(emptyPattern.c_str(), 1));
        before = ReadMemory();
        count = ToLong(Wait(g_ov.GetFileList(pattern.c_str(), 1)));
        after = ReadMemory();
    } else {
        PlainListing list;
        std::thread([&] { WideList(emptyPattern, 1, list); }).join();
        before = ReadMemory();
        std::thread([&] { count = WideList(pattern, 1, list); }).join();
        after = ReadMemory();
    }
    std::printf("%ld %lld %lld %lld\n", count,
                static_cast<long long>(after.heapInUse - before.heapInUse),
                static_cast<long long>(after.committed - before.committed),
                static_cast<long long>(after.privateUsage - before.privateUsage));
    return 0;
}

// Per entry, the growth of each reading over a listing of files entries.
MemoryReading MemoryPerEntry(const char* who, const std::string& dir, const std::string& emptyDir,
                             long files) {
    const std::string out = RunCaptured(Quoted(SelfPath()) + " --memory-probe " + who + " " +
                                        Quoted(dir + "\\*.*") + " " + Quoted(emptyDir + "\\*.*"));
    char* at = nullptr;
    const long count = std::strtol(out.c_str(), &at, 10);
    MemoryReading grown{};
    for (std::int64_t* field : {&grown.heapInUse, &grown.committed, &grown.privateUsage})
        *field = std::strtoll(at, &at, 10);
    Expect(count == files, std::string(who) + " memory probe listed " + std::to_string(count));
    if (count > 0)
        for (std::int64_t* field : {&grown.heapInUse, &grown.committed, &grown.privateUsage})
            *field /= count;
    return grown;
}

void AddMemoryRows(const std::string& root, const std::string& dir, long files) {
    const std::string empty = root + "\\empty";
    const MemoryReading ours = MemoryPerEntry("dll", dir, empty, files);
    const MemoryReading plain = MemoryPerEntry("plain", dir, empty, files);
    const std::string op = "GetFileList memory, " + std::to_string(files) + " files";
    const auto bytes = [](std::int64_t v) { return std::vector<double>{static_cast<double>(v)}; };
    Add(op + ", heap in use", kBytesPerEntry, bytes(ours.heapInUse), "plain wide loop's list",
        bytes(plain.heapInUse));
    Add(op + ", private committed", kBytesPerEntry, bytes(ours.committed), "plain wide loop's list",
        bytes(plain.committed));
    if (ours.privateUsage != 0) {
        Add(op + ", PrivateUsage", kBytesPerEntry, bytes(ours.privateUsage),
            "plain wide loop's list", bytes(plain.privateUsage));
        return;
    }
    static bool told = false;
    if (!std::exchange(told, true))
        Note("GetProcessMemoryInfo's PrivateUsage stays 0 under Wine; private committed is the "
             "sum of committed private regions (VirtualQuery) and also holds what the heap keeps "
             "from the search's own buffers, so it is noisy on small sets",
             0);
}

// ---- The measurements ------------------------------------------------------

// One DirCopy and one plain wide copy of src into a fresh dst, each checked for its count.
void TimeCopyAgainstWide(const std::string& src, const std::string& dst, long files,
                         std::vector<double>& ours, std::vector<double>& wide) {
    RemoveAll(dst);
    std::string got;
    ours.push_back(TimeMs([&] { got = Wait(g_ov.DirCopy(src.c_str(), dst.c_str(), 0, 0)); }));
    Expect(ToLong(got) == files, "DirCopy copied " + got + " files");
    RemoveAll(dst);
    long n = 0;
    wide.push_back(TimeOnThreadMs([&] { n = WideCopy(src, dst, false); }));
    Expect(n == files, "wide copy count");
}

void BenchDirCopy(const std::string& root, const Sizes& s) {
    const std::string src = root + "\\src";
    const std::string dst = root + "\\dst";
    const long files = static_cast<long>(s.treeDirs) * s.filesPerDir + s.bigFiles;
    std::vector<double> ours, wide, plain, xcopy;
    for (int r = 0; r < s.reps; ++r) {
        TimeCopyAgainstWide(src, dst, files, ours, wide);
        long n = 0;
        RemoveAll(dst);
        plain.push_back(TimeOnThreadMs([&] { n = PlainCopyTree(src, dst, nullptr); }));
        Expect(n == files, "plain copy count");
        RemoveAll(dst);
        DWORD code = 0;
        xcopy.push_back(TimeMs(
            [&] { code = RunTool("xcopy " + Quoted(src) + " " + Quoted(dst) + " /E /I /Y /Q"); }));
        Expect(code == 0, "xcopy failed");
    }
    Add("DirCopy, first copy", kMs, ours, "plain wide loop", wide, kAsFastAs);
    Add("DirCopy, first copy", kMs, ours, "plain ANSI loop", plain, kAsFastAs);
    Add("DirCopy, first copy", kMs, ours, "xcopy /E /I /Y", xcopy);

    // dst now holds a full copy (xcopy keeps the times); make it ours once more.
    RemoveAll(dst);
    Wait(g_ov.DirCopy(src.c_str(), dst.c_str(), 0, 0));
    std::vector<double> attr, info, firstThread;
    ours.clear(), wide.clear(), plain.clear(), xcopy.clear();
    for (int r = 0; r < s.reps; ++r) {
        std::string got;
        ours.push_back(TimeMs([&] { got = Wait(g_ov.DirCopy(src.c_str(), dst.c_str(), 0, 1)); }));
        Expect(got == "0", "skip-identical DirCopy copied " + got);
        long n = -1;
        wide.push_back(TimeOnThreadMs([&] { n = WideCopy(src, dst, true); }));
        Expect(n == 0, "wide skip loop copied files");
        plain.push_back(
            TimeOnThreadMs([&] { n = PlainCopyTree(src, dst, &StampCheck::ByHandle); }));
        Expect(n == 0, "plain skip loop copied files");
        attr.push_back(
            TimeOnThreadMs([&] { n = PlainCopyTree(src, dst, &StampCheck::ByAttributes); }));
        Expect(n == 0, "plain attribute skip loop copied files");
        info.push_back(
            TimeOnThreadMs([&] { n = PlainCopyTree(src, dst, &StampCheck::ByHandleInfo); }));
        Expect(n == 0, "plain handle-information skip loop copied files");
        firstThread.push_back(TimeMs([&] { n = PlainCopyTree(src, dst, &StampCheck::ByHandle); }));
        Expect(n == 0, "plain skip loop on the first thread copied files");
        xcopy.push_back(TimeMs(
            [&] { RunTool("xcopy " + Quoted(src) + " " + Quoted(dst) + " /E /I /Y /Q /D"); }));
    }
    Add("DirCopy, repeat, skip identical", kMs, ours, "plain wide loop", wide, kAsFastAs);
    Add("DirCopy, repeat, skip identical", kMs, ours, "plain ANSI loop", plain, kAsFastAs);
    Add("DirCopy, repeat, skip identical", kMs, ours, "xcopy /E /I /Y /D", xcopy);
    Note("plain ANSI skip loop: open+GetFileTime+GetFileSize %.2f ms, "
         "open+GetFileInformationByHandle %.2f ms, GetFileAttributesExA by path %.2f ms",
         Median(plain), Median(info), Median(attr));
    Note("the same plain skip loop on the process's first thread: %.2f ms (Wine serves file calls "
         "from other threads more slowly)",
         Median(firstThread));
    RemoveAll(dst);
}

void BenchFileList(const std::string& root, const Sizes& s) {
    const std::string dir = root + "\\list";
    const std::string pattern = dir + "\\*.*";
    PlainListing list;
    for (const int mode : {1, -4}) {
        std::vector<double> ours, wide, plain, dir_, names, basic;
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
            wide.push_back(TimeOnThreadMs([&] { n = WideList(pattern, mode, list); }));
            Expect(n == s.listFiles, "wide list count");
            plain.push_back(TimeOnThreadMs([&] { n = PlainList(pattern, mode, list); }));
            Expect(n == s.listFiles, "plain list count");
            if (mode == 1)
                basic.push_back(TimeOnThreadMs([&] { n = WideList(pattern, mode, list, kWalk); }));
            const std::string order = mode == 1 ? "/o:n" : "/o:-d";
            dir_.push_back(
                TimeMs([&] { RunTool("cmd /c dir /b " + order + " " + Quoted(pattern)); }));
        }
        const std::string op =
            "GetFileList, " + std::to_string(s.listFiles) + " files, mode " + std::to_string(mode);
        Add(op, kMs, ours, "plain wide loop", wide, kAsFastAs);
        Add(op, kMs, ours, "plain ANSI loop", plain, kAsFastAs);
        Add(op, kMs, ours, mode == 1 ? "cmd /c dir /b /o:n" : "cmd /c dir /b /o:-d", dir_);
        Note("reading all names back with GetFileListName: %.2f ms", Median(names));
        if (mode == 1)
            Note("the plain wide listing with FindExInfoStandard, no flags: %.2f ms; with "
                 "FindExInfoBasic and FIND_FIRST_EX_LARGE_FETCH: %.2f ms",
                 Median(wide), Median(basic));
    }
    AddMemoryRows(root, dir, s.listFiles);
}

void BenchDelete(const std::string& root, const Sizes& s) {
    const std::string src = root + "\\src";
    const std::string victim = root + "\\del";
    const long entries = static_cast<long>(s.treeDirs) * (s.filesPerDir + 1) + s.bigFiles;
    std::vector<double> ours, wide, plain, del;
    for (int r = 0; r < s.reps; ++r) {
        RemoveAll(victim);
        PlainCopyTree(src, victim, nullptr);
        std::string got;
        const std::string pattern = victim + "\\*.*";
        ours.push_back(TimeMs([&] { got = Wait(g_ov.FileDelete(pattern.c_str(), 1)); }));
        Expect(ToLong(got) == entries, "FileDelete deleted " + got);
        PlainCopyTree(src, victim, nullptr);
        long n = 0;
        wide.push_back(TimeOnThreadMs([&] { n = WideDelete(victim, L"*.*"); }));
        Expect(n == entries, "wide delete count");
        PlainCopyTree(src, victim, nullptr);
        plain.push_back(TimeOnThreadMs([&] { n = PlainDelete(victim, "*.*"); }));
        Expect(n == entries, "plain delete count");
        PlainCopyTree(src, victim, nullptr);
        del.push_back(TimeMs([&] { RunTool("cmd /c del /s /q " + Quoted(pattern)); }));
    }
    RemoveAll(victim);
    const std::string op = "FileDelete, tree, recursive";
    Add(op, kMs, ours, "plain wide loop", wide, kAsFastAs);
    Add(op, kMs, ours, "plain ANSI loop", plain, kAsFastAs);
    Add(op, kMs, ours, "cmd /c del /s /q (files only)", del);
}

// Small and large set timed in turn within each run, so a change on the
// shared machine hits both alike.
void BenchScaleCopy(const std::string& root, const Sizes& s) {
    const std::string dst = root + "\\scale_dst";
    const long smallFiles = static_cast<long>(s.treeDirs) * s.filesPerDir;
    const long largeFiles = static_cast<long>(kScaleTreeDirs) * s.filesPerDir;
    std::vector<double> oursSmall, oursLarge, wideSmall, wideLarge;
    const auto copyBoth = [&](const std::string& src, long files, std::vector<double>& ours,
                              std::vector<double>& wide) {
        TimeCopyAgainstWide(src, dst, files, ours, wide);
    };
    for (int r = 0; r < s.reps; ++r) {
        copyBoth(root + "\\scale_small", smallFiles, oursSmall, wideSmall);
        copyBoth(root + "\\scale_large", largeFiles, oursLarge, wideLarge);
    }
    RemoveAll(dst);
    const std::string large = std::to_string(largeFiles) + " files, per file";
    const std::string small = std::to_string(smallFiles) + " files, per file";
    Add("DirCopy, first copy, " + large, kUsPerFile, UsPerFile(oursLarge, largeFiles), small,
        UsPerFile(oursSmall, smallFiles), kFlat);
    Add("plain wide loop copy, " + large, kUsPerFile, UsPerFile(wideLarge, largeFiles), small,
        UsPerFile(wideSmall, smallFiles));
}

// The large folder may come ready made: under Wine each file created in a
// folder costs a scan of that folder, so 100,000 of them would take hours.
void BenchScaleList(const std::string& root, const std::string& largeDir, const Sizes& s) {
    const std::string small = root + "\\list\\*.*";
    const std::string large = largeDir + "\\*.*";
    PlainListing list;
    const long largeFiles = WideList(large, 1, list);
    const auto listOnce = [](const std::string& pattern, long files, int mode,
                             std::vector<double>& ours) {
        std::string got;
        ours.push_back(TimeMs([&] { got = Wait(g_ov.GetFileList(pattern.c_str(), mode)); }));
        Expect(ToLong(got) == files, "GetFileList found " + got);
    };
    for (const int mode : {1, -4}) {
        std::vector<double> oursSmall, oursLarge, wideSmall, wideLarge;
        for (int r = 0; r < s.reps; ++r) {
            listOnce(small, s.listFiles, mode, oursSmall);
            listOnce(large, largeFiles, mode, oursLarge);
            wideSmall.push_back(TimeOnThreadMs([&] { WideList(small, mode, list); }));
            wideLarge.push_back(TimeOnThreadMs([&] { WideList(large, mode, list); }));
        }
        const std::string tail = " files, mode " + std::to_string(mode) + ", per file";
        const std::string largeName = std::to_string(largeFiles) + tail;
        const std::string smallName = std::to_string(s.listFiles) + tail;
        Add("GetFileList, " + largeName, kUsPerFile, UsPerFile(oursLarge, largeFiles), smallName,
            UsPerFile(oursSmall, s.listFiles), kFlat);
        Add("plain wide loop list, " + largeName, kUsPerFile, UsPerFile(wideLarge, largeFiles),
            smallName, UsPerFile(wideSmall, s.listFiles));
    }
    AddMemoryRows(root, largeDir, largeFiles);
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

    std::vector<double> ours, base, bare, job, call, wait, pinned, flagged;
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
    Add("FileCopy round trip, skip identical", kUs, ours, "thread create+join + job", base);
    Note("bare thread create+join %.1f us (%.1f us before the DLL was loaded), the job alone "
         "%.1f us",
         Median(bare), g_bareBeforeLoad, Median(job));
    Note("thread + job + flag polled as IsActive (yield), then joined: %.1f us", Median(flagged));
    Note("FileCopy export returns after %.1f us, then %.1f us until IsActive is 0 (%.1f polls)",
         Median(call), Median(wait), static_cast<double>(polls) / (n * s.reps));
    Note("thread with start-up handshake, module pin and FreeLibraryAndExitThread: %.1f us",
         Median(pinned));
    Note("one Sleep(1), the caller's poll step once a job runs past 1 ms: %.2f ms",
         PerCallUs(50, [] { Sleep(1); }) / 1000.0);
    Note("one IsActive call: %.2f us", PerCallUs(100000, [] { g_ov.IsActive(29); }));
    DeleteFileA(src.c_str());
    DeleteFileA(dst.c_str());
}

void WriteCsv(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) {
        std::printf("cannot write %s\n", path.c_str());
        return;
    }
    std::fprintf(f, "operation,ours,baseline,baseline_value,ratio,unit,ours_min,ours_max,"
                    "baseline_min,baseline_max,target\n");
    for (const Row& r : g_rows) {
        std::fprintf(f, "\"%s\",%.3f,\"%s\",%.3f,%.3f,%s,%.3f,%.3f,%.3f,%.3f,", r.operation.c_str(),
                     r.ours, r.baseline.c_str(), r.base, r.ratio, r.unit.c_str(), r.oursMin,
                     r.oursMax, r.baseMin, r.baseMax);
        if (r.target > 0) std::fprintf(f, "%.2f", r.target);
        std::fprintf(f, "\n");
    }
    std::fclose(f);
}

// The rows and notes measured since the last call, as the run goes.
void PrintProgress() {
    static std::size_t rows = 0, notes = 0;
    for (; rows < g_rows.size(); ++rows) {
        const Row& r = g_rows[rows];
        std::printf("  %-48s ours %9s %-7s  %-30s %9s %-7s  ratio %.2f  %s\n", r.operation.c_str(),
                    Figure(r.ours).c_str(), r.unit.c_str(), r.baseline.c_str(),
                    Figure(r.base).c_str(), r.unit.c_str(), r.ratio, Verdict(r).c_str());
    }
    for (; notes < g_notes.size(); ++notes)
        std::printf("  note: %s\n", g_notes[notes].c_str());
    std::fflush(stdout);
}

void PrintTable(const Sizes& s, bool full, bool scale) {
    std::printf("\n%s data: tree %d files in %d folders + %d x %d MB, list %d files",
                full ? "Full" : "Default", s.treeDirs * s.filesPerDir, s.treeDirs, s.bigFiles,
                s.bigMb, s.listFiles);
    if (scale)
        std::printf("; scale: tree %d files in %d folders, list of a large folder",
                    kScaleTreeDirs * s.filesPerDir, kScaleTreeDirs);
    std::printf("; median of %d runs, the ratio the median of the runs' own ratios\n\n", s.reps);
    std::printf("| Operation | Ours | Baseline | Baseline figure | Ratio | Target |\n");
    std::printf("|---|---:|---|---:|---:|---|\n");
    for (const Row& r : g_rows)
        std::printf("| %s | %s %s | %s | %s %s | %.2f | %s |\n", r.operation.c_str(),
                    Figure(r.ours).c_str(), r.unit.c_str(), r.baseline.c_str(),
                    Figure(r.base).c_str(), r.unit.c_str(), r.ratio, Verdict(r).c_str());
    std::printf("\nNotes:\n");
    for (const std::string& n : g_notes)
        std::printf("- %s\n", n.c_str());
}

} // namespace

int main(int argc, char** argv) {
    bool full = false;
    bool scale = false;
    int reps = 0;
    std::string csv = ov::ProgramFolder() + "\\ovbench.csv";
    std::string only;
    std::string scaleList;
    if (argc == 5 && std::string(argv[1]) == "--memory-probe")
        return MemoryProbe(argv[2], argv[3], argv[4]);
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--full")
            full = true;
        else if (a == "--scale")
            scale = true;
        else if (a == "--reps" && i + 1 < argc)
            reps = std::atoi(argv[++i]);
        else if (a == "--csv" && i + 1 < argc)
            csv = argv[++i];
        else if (a == "--only" && i + 1 < argc)
            only = argv[++i];
        else if (a == "--scale-list" && i + 1 < argc)
            scaleList = argv[++i];
        else {
            std::printf("usage: ovbench [--full] [--scale [--scale-list folder]] [--reps N] "
                        "[--csv file] [--only copy|list|delete|trip]\n");
            return 2;
        }
    }
    Sizes s = full ? Sizes{50, 100, 3, 32, 30000, 5, 500} : Sizes{10, 100, 2, 16, 10000, 3, 200};
    if (reps > 0) s.reps = reps;

    try {
        g_bareBeforeLoad = ThreadCostUs(&EmptyThread, nullptr, 200);
        g_ov = ov::LoadModule(ov::ModuleBesideProgram());
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const std::string root =
            std::string(temp) + "ovbench_" + std::to_string(GetCurrentProcessId());
        RemoveAll(root);
        CreateDirectoryA(root.c_str(), nullptr);
        const auto wanted = [&](const char* part) { return only.empty() || only == part; };
        std::printf("ANSI code page %u\n", GetACP());

        double t = Now();
        if (wanted("copy") || wanted("delete")) MakeTree(root + "\\src", s);
        if (wanted("list")) {
            MakeListFolder(root + "\\list", s.listFiles, 16);
            CreateDirectoryA((root + "\\empty").c_str(), nullptr);
        }
        std::printf("data sets built in %.1f s\n", Now() - t);

        if (wanted("copy")) BenchDirCopy(root, s);
        PrintProgress();
        if (wanted("list")) BenchFileList(root, s);
        PrintProgress();
        if (wanted("delete")) BenchDelete(root, s);
        PrintProgress();
        if (wanted("trip")) BenchRoundTrip(root, s);
        PrintProgress();

        if (scale && wanted("copy")) {
            t = Now();
            MakeTree(root + "\\scale_small", {s.treeDirs, s.filesPerDir, 0, 0, 0, 0, 0});
            MakeTree(root + "\\scale_large", {kScaleTreeDirs, s.filesPerDir, 0, 0, 0, 0, 0});
            std::printf("scale tree built in %.1f s\n", Now() - t);
            BenchScaleCopy(root, s);
            PrintProgress();
        }
        if (scale && wanted("list")) {
            std::string largeDir = scaleList;
            if (largeDir.empty()) {
                t = Now();
                largeDir = root + "\\scale_list";
                MakeListFolder(largeDir, kScaleListFiles, 0);
                std::printf("scale listing folder built in %.1f s\n", Now() - t);
            }
            BenchScaleList(root, largeDir, s);
            PrintProgress();
        }

        t = Now();
        RemoveAll(root);
        if (scale) std::printf("data sets removed in %.1f s\n", Now() - t);
        PrintTable(s, full, scale);
        WriteCsv(csv);
        std::printf("\nCSV: %s\n", csv.c_str());
    } catch (const std::exception& e) {
        std::printf("ovbench: %s\n", e.what());
        return 1;
    }
    return 0;
}
