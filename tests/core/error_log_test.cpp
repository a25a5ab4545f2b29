// The error log: line format, rotation at the size limit, and processor
// faults inside framed exports turned into one log line and a failure value.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/handles.h"
#include "support/child_process.h"
#include "support/ov_module.h"
#include "support/wait_for.h"

namespace {

const std::string kTrace = "COvDEvedApp::CreateNewDir";
const std::string kLine = "QUORUtl Severe Error Occurred [" + kTrace + "]\r\n";

void RemoveLogs() {
    DeleteFileA(ErrorLogPath().c_str());
    DeleteFileA(ErrorBackupPath().c_str());
}

// Makes CreateNewDir fail inside its frame: one log line.
void FailOnce() { EXPECT_EQ(OvModule::Get().CreateNewDir(reinterpret_cast<char*>(0x10)), 0); }

// size bytes of earlier log: whole lines of x.
std::string Filler(std::size_t size) {
    std::string s(size, 'x');
    s[size - 2] = '\r';
    s[size - 1] = '\n';
    return s;
}

// Set for the writer processes of the two-process test: the name of the event
// that starts them together.
constexpr char kWriterVariable[] = "OV_TEST_ERROR_LOG_WRITER";
constexpr int kWriterLines = 2000;
// The named turn of earlier versions, which any process could take first.
constexpr char kOldTurnName[] = "Local\\OrvaleSCADAQUORErr.log.writer";

// A child of this program that runs one test of CoreErrorLogWriterProcess.
std::string WriterProcess(const char* test) {
    return '"' + ThisProgram() + "\" --gtest_filter=CoreErrorLogWriterProcess." + test;
}

// Takes the writers' turn on the log: its byte at 2^62, locked; every
// version takes the same.
ov::UniqueFile TakeTheTurn() {
    ov::UniqueFile log(CreateFileA(ErrorLogPath().c_str(), GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    OVERLAPPED turn{};
    turn.OffsetHigh = 1u << 30;
    if (!LockFileEx(log.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &turn))
        log.reset();
    return log;
}

class CoreErrorLog : public ::testing::Test {
  protected:
    void SetUp() override { RemoveLogs(); }
    void TearDown() override { RemoveLogs(); }
};

} // namespace

TEST_F(CoreErrorLog, FaultInFramedExportAddsOneLineAndCallerGoesOn) {
    FailOnce();
    EXPECT_EQ(ReadTextFile(ErrorLogPath()), kLine);
    FailOnce();
    EXPECT_EQ(ReadTextFile(ErrorLogPath()), kLine + kLine) << "appends";
    // The calling thread keeps working normally.
    ScratchDir dir;
    std::string path = dir / "made";
    EXPECT_EQ(OvModule::Get().CreateNewDir(path.data()), 1);
}

TEST_F(CoreErrorLog, LogOfExactlyTheLimitStaysInPlace) {
    WriteTextFile(ErrorLogPath(), Filler(204800 - kLine.size()));
    FailOnce();
    EXPECT_EQ(ReadTextFile(ErrorLogPath()).size(), 204800u);
    EXPECT_FALSE(FileExists(ErrorBackupPath()));
}

TEST_F(CoreErrorLog, LineThatPassesTheLimitEndsTheBackup) {
    WriteTextFile(ErrorBackupPath(), "older generation");
    const std::string before = Filler(204800 - kLine.size() + 1);
    WriteTextFile(ErrorLogPath(), before);
    FailOnce();
    EXPECT_FALSE(FileExists(ErrorLogPath())) << "no log until the next line";
    EXPECT_EQ(ReadTextFile(ErrorBackupPath()), before + kLine) << "the old backup is replaced";
    FailOnce();
    EXPECT_EQ(ReadTextFile(ErrorLogPath()), kLine);
}

TEST_F(CoreErrorLog, LockedLogIsLeftAloneAndTheCallStillFails) {
    WriteTextFile(ErrorLogPath(), "kept\r\n");
    ov::UniqueFile lock(
        CreateFileA(ErrorLogPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    FailOnce();
    lock.reset();
    EXPECT_EQ(ReadTextFile(ErrorLogPath()), "kept\r\n");
}

TEST_F(CoreErrorLog, BadTextPointersBecomeFailureValuesNotCrashes) {
    auto& m = OvModule::Get();
    for (const char* bad : {static_cast<const char*>(nullptr), reinterpret_cast<const char*>(1),
                            reinterpret_cast<const char*>(0x10)}) {
        const short slot = m.FileCopy(bad, "C:\\x", 0, 0);
        EXPECT_GE(slot, -1);
        if (slot >= 0) {
            EXPECT_EQ(m.IsActive(slot), 0) << "never left active";
            m.GetData(slot);
        }
        const short slot2 = m.FileCopy("C:\\x", bad, 0, 0);
        if (slot2 >= 0) {
            EXPECT_EQ(m.IsActive(slot2), 0);
        }
        m.GetData(slot2);
    }
    EXPECT_EQ(CountLogLines("COvDEvedApp::FileCopy"), 6);
    // Every slot is free again.
    ScratchDir dir;
    for (short i = 0; i < 30; ++i)
        EXPECT_EQ(m.FileCopy((dir / "none").c_str(), (dir / "out").c_str(), 0, 0), i);
    m.CollectAll();
}

TEST_F(CoreErrorLog, TurnOfADeadWriterIsTakenAndAHeldOneDropsTheLine) {
    SetEnvironmentVariableA(kWriterVariable, "turn");
    ChildProcess dead(WriterProcess("ExitsHoldingTheTurn"));
    SetEnvironmentVariableA(kWriterVariable, nullptr);
    ASSERT_EQ(dead.Finish(), 0) << "the writer that dies holding the turn";
    FailOnce();
    EXPECT_EQ(ReadTextFile(ErrorLogPath()), kLine) << "the system gave the turn back";

    ov::UniqueFile held = TakeTheTurn();
    ASSERT_TRUE(held);
    const DWORD start = GetTickCount();
    FailOnce();
    const DWORD waited = GetTickCount() - start;
    held.reset();
    EXPECT_GE(waited, 480u);
    EXPECT_LT(waited, 5000u);
    EXPECT_EQ(ReadTextFile(ErrorLogPath()), kLine) << "a line is dropped, never held long";
}

TEST_F(CoreErrorLog, TwoProcessesLeaveEveryLineWhole) {
    // Beside a process that holds the named turn of earlier versions forever.
    SetEnvironmentVariableA(kWriterVariable, "hold");
    ChildProcess holder(WriterProcess("HoldsTheOldTurn"));
    ov::UniqueHandle old;
    ASSERT_TRUE(WaitFor(
        [&] {
            old.reset(OpenMutexA(SYNCHRONIZE, FALSE, kOldTurnName));
            return static_cast<bool>(old);
        },
        60000, std::string("the holder of ") + kOldTurnName));
    ASSERT_EQ(WaitForSingleObject(old.get(), 0), DWORD(WAIT_TIMEOUT)) << "held by the holder";

    const std::string eventName = "Local\\OvTestErrorLogGo" + std::to_string(GetCurrentProcessId());
    const ov::UniqueHandle go(CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
    ASSERT_TRUE(go);
    SetEnvironmentVariableA(kWriterVariable, eventName.c_str());
    ChildProcess first(WriterProcess("WritesItsLines")), second(WriterProcess("WritesItsLines"));
    SetEnvironmentVariableA(kWriterVariable, nullptr);
    ASSERT_TRUE(first.started() && second.started());
    SetEvent(go.get());
    EXPECT_EQ(first.Finish(120000), 0) << "first writer";
    EXPECT_EQ(second.Finish(120000), 0) << "second writer";

    // One rotation on the way: every line of both is in the backup or the log, whole.
    const std::string backup = ReadTextFile(ErrorBackupPath());
    EXPECT_GT(backup.size(), 204800u);
    std::istringstream lines(backup + ReadTextFile(ErrorLogPath()));
    int whole = 0, other = 0;
    for (std::string line; std::getline(lines, line);)
        (line + "\n" == kLine ? whole : other)++;
    EXPECT_EQ(whole, 2 * kWriterLines);
    EXPECT_EQ(other, 0);
}

// The child processes of the tests above; passed over when run on their own.
class CoreErrorLogWriterProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!GetEnvironmentVariableA(kWriterVariable, m_job, sizeof m_job))
            GTEST_SKIP() << "run by the CoreErrorLog tests";
    }
    char m_job[128] = "";
};

TEST_F(CoreErrorLogWriterProcess, WritesItsLines) {
    const ov::UniqueHandle go(OpenEventA(SYNCHRONIZE, FALSE, m_job));
    ASSERT_TRUE(go) << m_job;
    ASSERT_EQ(WaitForSingleObject(go.get(), 60000), WAIT_OBJECT_0) << "the start signal " << m_job;
    for (int i = 0; i < kWriterLines; ++i)
        FailOnce();
}

TEST_F(CoreErrorLogWriterProcess, ExitsHoldingTheTurn) {
    EXPECT_NE(TakeTheTurn().release(), INVALID_HANDLE_VALUE); // left open to the exit
}

TEST_F(CoreErrorLogWriterProcess, HoldsTheOldTurn) {
    ASSERT_NE(CreateMutexA(nullptr, TRUE, kOldTurnName), nullptr);
    Sleep(300000); // until the test that started it kills it
}
