#include "support/error_log_file.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace {
std::string InWindowsFolder(const char* name) {
    char dir[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir, n) + "\\" + name;
}
} // namespace

std::string ErrorLogPath() { return InWindowsFolder("OrvaleSCADAQUORErr.log"); }
std::string ErrorBackupPath() { return InWindowsFolder("OrvaleSCADAQUORErr.bak"); }

int CountLogLines(const std::string& traceName) {
    std::ifstream in(ErrorLogPath(), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    const std::string log = content.str();
    const std::string line = "QUORUtl Severe Error Occurred [" + traceName + "]\r\n";
    int count = 0;
    for (std::size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1))
        if (at == 0 || log[at - 1] == '\n') ++count;
    return count;
}
