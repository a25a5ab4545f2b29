// ovcall.exe as a user runs it: started with CreateProcess beside the built
// DLL, its output, error stream and exit status read back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "files/files_helpers.h"
#include "ovcall/exports.h"
#include "ovcall/host.h"
#include "support/child_process.h"
#include "support/ov_module.h"

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

using HostRun = ProgramRun;

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

std::string OvcallPath() { return FolderOf(OvModule::Path()) + "\\ovcall.exe"; }

HostRun Ovcall(const std::string& tail, const ScratchDir& dir) {
    return RunProgram(OvcallPath(), tail, dir.path());
}

// 256 MiB: far longer to copy than a poll or a process exit takes.
bool MakeBigFile(const std::string& path) { return files_test::MakeSparseFile(path, 256u << 20); }

// Threads a host keeps idle, as Windows keeps the loader's and the thread
// pool's: one blocked on an event that is never set, and a pool worker.
DWORD WINAPI BlockedForever(void* never) { return WaitForSingleObject(never, INFINITE); }
void CALLBACK PoolJob(PTP_CALLBACK_INSTANCE, void*) {}
void LeaveIdleThreads() {
    static const HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(CreateThread(nullptr, 0, &BlockedForever, never, 0, nullptr));
    EXPECT_TRUE(TrySubmitThreadpoolCallback(&PoolJob, nullptr, nullptr));
}

// Set for the host process of the exit test: "idle", or "copy" to leave a
// worker copying big.bin as well.
constexpr char kExitVariable[] = "OV_TEST_HOST_EXIT";

std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& l : lines)
        text += l + "\n";
    return text;
}

} // namespace

// Its export table, made from the module's own list, against the built DLL.
TEST(OvcallExports, TableMatchesTheModulesExportDirectory) {
    using namespace ovcall;
    const HMODULE dll = OvModule::Get().handle;
    ASSERT_EQ(Exports().size(), 29u);
    std::string previous;
    for (const ExportInfo& e : Exports()) {
        const std::string name(e.name);
        EXPECT_LT(previous, name) << "ordinals follow the alphabetical order";
        previous = name;
        FARPROC byName = GetProcAddress(dll, name.c_str());
        FARPROC byOrdinal = GetProcAddress(dll, MAKEINTRESOURCEA(e.ordinal));
        EXPECT_NE(byName, nullptr) << name;
        EXPECT_EQ(byName, byOrdinal) << name << " is not ordinal " << e.ordinal;
        EXPECT_EQ(FindByName(name), &e);
        EXPECT_EQ(FindByOrdinal(e.ordinal), &e);
    }
    EXPECT_EQ(GetProcAddress(dll, MAKEINTRESOURCEA(30)), nullptr);
}

TEST(OvcallHost, SynchronousCallsPrintTheAnswer) {
    ScratchDir dir;
    HostRun r = Ovcall("GetData 30", dir);
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(r.out, "0\n");
    EXPECT_THAT(r.err, IsEmpty());

    r = Ovcall("#21 -1", dir); // IsActive by ordinal
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(r.out, "0\n");

    std::string made = dir / "a b\\c";
    r = Ovcall("createnewdir \"" + made + "\"", dir);
    EXPECT_EQ(r.out, "1\n");
    EXPECT_TRUE(DirExists(made));

    r = Ovcall("GetFileListName 0", dir);
    EXPECT_EQ(r.out, "\n") << "the empty text is an empty line";
}

TEST(OvcallHost, SlotCallsWaitAndCollect) {
    ScratchDir dir;
    WriteTextFile(dir / "src.txt", "payload");
    HostRun r = Ovcall("FileCopy src.txt dst.txt 0 0", dir);
    EXPECT_EQ(r.status, 0u) << r.err;
    EXPECT_EQ(r.out, "1\n");
    EXPECT_EQ(ReadTextFile(dir / "dst.txt"), "payload");

    r = Ovcall("--timeout 60000 FileCopy missing.txt x.txt 0 0", dir);
    EXPECT_EQ(r.out, "-1\n");

    // Without waiting the slot number comes back; the job still finishes
    // before the host exits.
    r = Ovcall("--no-wait FileCopy src.txt late.txt 0 0", dir);
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(r.out, "0\n");
    EXPECT_EQ(ReadTextFile(dir / "late.txt"), "payload");
}

TEST(OvcallHost, TimeoutEndsTheWaitWithStatus3) {
    ScratchDir dir;
    ASSERT_TRUE(MakeBigFile(dir / "big.bin"));
    const HostRun r = Ovcall("--timeout 0 FileCopy big.bin copy.bin 0 0", dir);
    EXPECT_EQ(r.status, 3u);
    EXPECT_THAT(r.err, HasSubstr("FileCopy: slot 0 still active after 0 ms"));
    EXPECT_THAT(r.out, IsEmpty());
}

TEST(OvcallHost, BadInputIsAUsageErrorNeverACrash) {
    ScratchDir dir;
    struct Case {
        const char* tail;
        const char* says;
    };
    const Case cases[] = {
        {"", "name an export"},
        {"FileCopy a b 0", "FileCopy takes 4 arguments, not 3"},
        {"FileCopy a b 0 1 2", "usage: ovcall FileCopy source dest failIfExists:short"},
        {"FileCopy a b 0 65536", "skipIdentical (argument 4) must be a 16-bit number"},
        {"DisplayResList twelve", "index (argument 1) must be a 32-bit number"},
        {"WindowRefresh 0x1FFFFFFFF", "window (argument 1) must be a window handle"},
        {"NoSuchExport", "unknown export \"NoSuchExport\""},
        {"#30", "names no export"},
        {"--timeout x GetTempDir", "--timeout wants a number"},
        {"--bogus GetTempDir", "unknown option \"--bogus\""},
        {"--script missing.ovs", "cannot read the script"},
    };
    for (const Case& c : cases) {
        const HostRun r = Ovcall(c.tail, dir);
        EXPECT_EQ(r.status, 1u) << c.tail;
        EXPECT_THAT(r.err, HasSubstr(c.says)) << c.tail;
        EXPECT_THAT(r.out, IsEmpty()) << c.tail;
    }
    // Texts of any length reach the DLL as they are.
    const HostRun r = Ovcall("GetVersion " + std::string(5000, 'x'), dir);
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(r.out, "\n");
}

TEST(OvcallHost, ListAndHelp) {
    ScratchDir dir;
    HostRun r = Ovcall("--list", dir);
    EXPECT_EQ(r.status, 0u);
    EXPECT_THAT(r.out, AllOf(HasSubstr(" 1  CreateNewDir          code   path\n"),
                             HasSubstr("29  WindowRefresh         code   window:hwnd\n"),
                             HasSubstr(" 7  GetComputerName       text   (none)\n"),
                             HasSubstr("16  GetWindowList         slot   start:int maxCount:int "
                                       "prefix suffix withHandle:short\n")));
    r = Ovcall("--help", dir);
    EXPECT_EQ(r.status, 0u);
    EXPECT_THAT(r.out, AllOf(HasSubstr("--no-wait"), HasSubstr("--timeout MS"),
                             HasSubstr("--script FILE")));
}

TEST(OvcallHost, MissingDllIsStatus2) {
    ScratchDir dir;
    const std::string alone = dir / "ovcall.exe";
    ASSERT_TRUE(CopyFileA(OvcallPath().c_str(), alone.c_str(), FALSE));
    HostRun r = RunProgram(alone, "GetTempDir", dir.path());
    EXPECT_EQ(r.status, 2u);
    EXPECT_THAT(r.err, AllOf(HasSubstr("cannot load"), HasSubstr("OvDurAru.dll")));
    r = RunProgram(alone, "--list", dir.path());
    EXPECT_EQ(r.status, 0u) << "listing needs no DLL";
}

TEST(OvcallHost, ScriptRunsEveryLineInOrder) {
    ScratchDir dir;
    WriteTextFile(dir / "in put.txt", "abc");
    SetEnvironmentVariableA("OVCALL_TEST_DIR", dir.path().c_str());
    WriteTextFile(
        dir / "run.ovs",
        "\xEF\xBB\xBF# copies a file whose name has a blank\r\n"
        "\r\n"
        "   FileCopy \"%OVCALL_TEST_DIR%\\in put.txt\" \"%OVCALL_TEST_DIR%\\out.txt\" 0 1\r\n"
        "FileCopy \"%OVCALL_TEST_DIR%\\in put.txt\" \"%OVCALL_TEST_DIR%\\out.txt\" 1 0  # refused\n"
        "GetData 30\n"
        "#21 0\n"
        "GetVersion \"%OVCALL_DIR%\\OvDurAru.dll\"\n"
        "GetFileList \"%OVCALL_TEST_DIR%\\*.txt\" -1\n"
        "GetFileListName 0\n"
        "\tGetFileListName 1");
    const HostRun r = Ovcall("--script run.ovs", dir);
    SetEnvironmentVariableA("OVCALL_TEST_DIR", nullptr);
    EXPECT_EQ(r.status, 0u) << r.err;
    const std::string d = dir.path();
    EXPECT_EQ(
        r.out,
        Lines({
            "FileCopy(\"" + d + "\\in put.txt\", \"" + d + "\\out.txt\", 0, 1) = \"1\" (slot 0)",
            "FileCopy(\"" + d + "\\in put.txt\", \"" + d + "\\out.txt\", 1, 0) = \"0\" (slot 0)",
            "GetData(30) = \"0\"",
            "IsActive(0) = 0",
            "GetVersion(\"" + FolderOf(OvcallPath()) + "\\OvDurAru.dll\") = \"3.5\"",
            "GetFileList(\"" + d + "\\*.txt\", -1) = \"2\" (slot 0)",
            "GetFileListName(0) = \"out.txt\"",
            "GetFileListName(1) = \"in put.txt\"",
        }));
    EXPECT_EQ(ReadTextFile(dir / "out.txt"), "abc");
}

TEST(OvcallHost, MalformedScriptRunsNothing) {
    ScratchDir dir;
    WriteTextFile(dir / "bad.ovs", "CreateNewDir \"" + (dir / "made") +
                                       "\"\n"
                                       "# fine so far\n"
                                       "FileCopy a b 0\n"
                                       "PrintLine lp \"unclosed\n"
                                       "GetVersion %OVCALL_NOT_SET%\n"
                                       "GetData 70000\n");
    const HostRun r = Ovcall("--script bad.ovs", dir);
    EXPECT_EQ(r.status, 1u);
    EXPECT_THAT(r.out, IsEmpty());
    EXPECT_THAT(r.err, AllOf(HasSubstr("bad.ovs:3: FileCopy takes 4 arguments, not 3\n"
                                       "    usage: ovcall FileCopy"),
                             HasSubstr("bad.ovs:4: a quoted text is not closed"),
                             HasSubstr("bad.ovs:5: %OVCALL_NOT_SET% is not set"),
                             HasSubstr("bad.ovs:6: GetData: slot (argument 1) must be"),
                             HasSubstr("4 malformed line(s)")));
    EXPECT_FALSE(DirExists(dir / "made")) << "the good first line must not have run";
}

TEST(OvcallHost, ExitWaitsForRunningWorkersOnlyAndOnlyUnderWine) {
    ScratchDir dir;
    ASSERT_TRUE(MakeBigFile(dir / "big.bin"));
    auto& m = OvModule::Get();
    LeaveIdleThreads();
    const DWORD start = GetTickCount();
    EXPECT_TRUE(ovcall::WaitForWorkersOf(m.handle, 5000));
    EXPECT_LT(GetTickCount() - start, 1000u) << "idle threads were waited for";
    const short slot = m.FileCopy((dir / "big.bin").c_str(), (dir / "in.bin").c_str(), 0, 0);
    ASSERT_EQ(m.IsActive(slot), 1);
    EXPECT_TRUE(ovcall::WaitForWorkersOf(m.handle, 60000));
    EXPECT_EQ(m.IsActive(slot), 0) << "the copying worker was not waited for";
    EXPECT_EQ(m.GetData(slot), std::string("1"));
    DeleteFileA((dir / "in.bin").c_str());

    // A host process that leaves idle threads exits at once; one that leaves
    // a copy running lets it finish under Wine (Windows ends it at exit).
    for (const char* job : {"idle", "copy"}) {
        SetEnvironmentVariableA(kExitVariable, job);
        const ProgramRun run =
            RunProgram(ThisProgram(), "--gtest_filter=OvcallHostExit.*", dir.path());
        const ULONGLONG ended = GetTickCount64();
        SetEnvironmentVariableA(kExitVariable, nullptr);
        ASSERT_EQ(run.status, 0u) << job << ": " << run.out;
        const ULONGLONG exiting = std::stoull(ReadTextFile(dir / "exiting.txt"));
        RecordProperty(std::string(job) + "_exit_ms", std::to_string(ended - exiting));
        if (job == std::string("idle")) {
            EXPECT_LT(ended - exiting, 1000u) << "exit took long";
        } else if (ovcall::UnderWine()) {
            EXPECT_EQ(files_test::SizeOf(dir / "out.bin"), 256u << 20) << "the copy was cut short";
        }
    }
}

// The host process of the test above; passed over when run on its own.
TEST(OvcallHostExit, LeavesItsThreadsToTheExit) {
    char job[16] = "";
    if (!GetEnvironmentVariableA(kExitVariable, job, sizeof job))
        GTEST_SKIP() << "run by OvcallHost.ExitWaitsForRunningWorkersOnlyAndOnlyUnderWine";
    LeaveIdleThreads();
    if (job == std::string("copy")) {
        EXPECT_EQ(OvModule::Get().FileCopy("big.bin", "out.bin", 0, 0), 0);
    }
    WriteTextFile("exiting.txt", std::to_string(GetTickCount64()));
}
