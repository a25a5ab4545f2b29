#include "core/error_log.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "core/handles.h"

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

// The turn to write, shared by every thread of every process of the session
// that loads this module, whatever its version: the C runtime's append is a
// seek and a write, and a rotation moves the file away, so writers that do
// not take turns tear and lose each other's lines.
class WriterTurn {
  public:
    WriterTurn()
        : m_mutex(CreateMutexA(nullptr, FALSE, ov::kErrorLogMutexName)),
          m_taken(m_mutex && Acquired(WaitForSingleObject(m_mutex.get(), ov::kErrorLogWaitMs))) {}
    ~WriterTurn() {
        if (m_taken) ReleaseMutex(m_mutex.get());
    }
    WriterTurn(const WriterTurn&) = delete;
    WriterTurn& operator=(const WriterTurn&) = delete;

    explicit operator bool() const { return m_taken; }

  private:
    // A writer that died holding the turn left at worst a torn last line; the
    // turn is ours all the same.
    static bool Acquired(DWORD wait) { return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED; }

    ov::UniqueHandle m_mutex;
    bool m_taken;
};

} // namespace

void Err_Exception_Log(const char* traceName) {
    try {
        const std::string folder = LogFolder();
        const std::string logPath = folder + ov::kErrorLogName;
        const std::string backupPath = folder + ov::kErrorBackupName;

        // A turn not had in time drops the line: the log never holds a call up for long.
        const WriterTurn turn;
        if (!turn) return;
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
