#include "core/error_log.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

namespace {

// Where the log lives: the Windows folder with a trailing backslash, or the
// root of the current drive when that folder is unknown or unusually long.
std::string LogFolder() {
    char folder[256] = {};
    const UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    std::string path = (length == 0 || length > 200) ? std::string() : std::string(folder, length);
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

// The C runtime's append mode seeks to the end before each write, which is not
// atomic between threads: writers of this process take turns so that no line
// lands on top of another.
std::mutex& WriterTurn() {
    static std::mutex turn;
    return turn;
}

} // namespace

void Err_Exception_Log(const char* traceName) {
    try {
        const std::string folder = LogFolder();
        const std::string logPath = folder + ov::kErrorLogName;
        const std::string backupPath = folder + ov::kErrorBackupName;

        const std::lock_guard<std::mutex> turn(WriterTurn());
        std::unique_ptr<FILE, FileCloser> log(std::fopen(logPath.c_str(), "a"));
        if (!log) return;
        std::fprintf(log.get(), "QUORUtl Severe Error Occurred [%s]\n", traceName ? traceName : "");
        fpos_t position{};
        if (std::fgetpos(log.get(), &position) != 0 || position <= ov::kErrorLogLimit) return;
        log.reset();
        std::remove(backupPath.c_str());
        std::rename(logPath.c_str(), backupPath.c_str());
    } catch (...) {
        // The log is best effort; it never adds a failure of its own.
    }
}
