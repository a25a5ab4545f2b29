// Concurrent writers of the error log: whole lines only, through rotations.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/error_log.h"

namespace {

std::string WindowsFile(const char* name) {
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir) + "\\" + name;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(CoreErrorLogWriters, ConcurrentWritersInterleaveWholeLinesOnly) {
    const std::string log = WindowsFile(ov::kErrorLogName);
    const std::string backup = WindowsFile(ov::kErrorBackupName);
    DeleteFileA(log.c_str());
    DeleteFileA(backup.c_str());
    constexpr int kThreads = 6, kLines = 1500; // about 4 rotations
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t)
        writers.emplace_back([t] {
            const std::string trace = "CTest::Writer" + std::to_string(t);
            for (int i = 0; i < kLines; ++i)
                Err_Exception_Log(trace.c_str());
        });
    for (auto& w : writers)
        w.join();

    const std::regex line(R"(QUORUtl Severe Error Occurred \[CTest::Writer[0-9]\]\r)");
    for (const std::string& path : {log, backup}) {
        const std::string text = Slurp(path);
        ASSERT_FALSE(text.empty()) << path;
        EXPECT_EQ(text.back(), '\n') << path;
        std::istringstream lines(text);
        int count = 0;
        for (std::string l; std::getline(lines, l); ++count)
            ASSERT_TRUE(std::regex_match(l, line)) << path << " line " << count << ": " << l;
        if (path == backup) {
            EXPECT_GT(text.size(), 204800u);
        } else {
            EXPECT_LE(text.size(), 204800u);
        }
    }
    DeleteFileA(log.c_str());
    DeleteFileA(backup.c_str());
}
