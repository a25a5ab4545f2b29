// The error log: line format, rotation at the size limit, and processor
// faults inside framed exports turned into one log line and a failure value.
#include <gtest/gtest.h>

#include <string>

#include "support/ov_module.h"

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
    HANDLE lock =
        CreateFileA(ErrorLogPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    FailOnce();
    CloseHandle(lock);
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
