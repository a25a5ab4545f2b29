#include "core/error_log.h"

#include <windows.h>

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

// The line as the C runtime's text mode writes it: each line feed becomes a
// carriage return and a line feed.
std::string LogLine(const char* traceName) {
    const std::string text =
        std::string("QUORUtl Severe Error Occurred [") + (traceName ? traceName : "") + "]\n";
    std::string line;
    for (const char c : text) {
        if (c == '\n') line += '\r';
        line += c;
    }
    return line;
}

// Opened for appending, so each line is one write at the end; shared with
// every other writer, and with the writer that moves the log to the backup.
ov::UniqueFile OpenLog(const std::string& path, DWORD access, DWORD disposition) {
    return ov::UniqueFile(CreateFileA(path.c_str(), access,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool SameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    return GetFileInformationByHandle(a, &x) && GetFileInformationByHandle(b, &y) &&
           x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

// The log, open and with the writers' turn taken on it. The C runtime's
// append is a seek and a write, and a rotation moves the file away, so
// writers that do not take turns tear and lose each other's lines; a lock on
// the log itself is one that no process without access to the log can hold.
class LockedLog {
  public:
    LockedLog(const std::string& path, ULONGLONG deadline) {
        for (;;) {
            m_file = OpenLog(path, FILE_READ_DATA | FILE_APPEND_DATA | SYNCHRONIZE, OPEN_ALWAYS);
            if (!m_file || !TakeTurn(deadline)) return;
            if (StillTheLog(path)) return;
            ReleaseTurn();
            if (GetTickCount64() >= deadline) return;
        }
    }
    ~LockedLog() { ReleaseTurn(); }
    LockedLog(const LockedLog&) = delete;
    LockedLog& operator=(const LockedLog&) = delete;

    explicit operator bool() const { return m_locked; }
    HANDLE get() const { return m_file.get(); }

  private:
    // A writer that rotated while this one waited left it the backup. Only a
    // log past the limit is ever moved, and logs only grow: a smaller one is
    // still the log.
    bool StillTheLog(const std::string& path) const {
        LARGE_INTEGER size{};
        if (GetFileSizeEx(m_file.get(), &size) && size.QuadPart <= ov::kErrorLogLimit) return true;
        const ov::UniqueFile named = OpenLog(path, FILE_READ_ATTRIBUTES, OPEN_EXISTING);
        return named && SameFile(named.get(), m_file.get());
    }
    static OVERLAPPED Turn() {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(ov::kErrorLogTurnOffset);
        at.OffsetHigh = static_cast<DWORD>(ov::kErrorLogTurnOffset >> 32);
        return at;
    }
    // Polled rather than waited for: a lock waited for cannot be given up
    // after a bound (and Wine cannot wait for one on an overlapped handle).
    bool TakeTurn(ULONGLONG deadline) {
        for (int tries = 0;; ++tries) {
            OVERLAPPED at = Turn();
            if (LockFileEx(m_file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1,
                           0, &at))
                return m_locked = true;
            if (GetTickCount64() >= deadline) return false;
            Sleep(tries < 20 ? 0 : 1);
        }
    }
    void ReleaseTurn() {
        if (!m_locked) return;
        OVERLAPPED at = Turn();
        UnlockFileEx(m_file.get(), 0, 1, 0, &at);
        m_locked = false;
    }

    ov::UniqueFile m_file;
    bool m_locked = false;
};

} // namespace

void Err_Exception_Log(const char* traceName) {
    try {
        const std::string folder = LogFolder();
        const std::string logPath = folder + ov::kErrorLogName;
        const std::string backupPath = folder + ov::kErrorBackupName;
        const std::string line = LogLine(traceName);

        // A turn not had in time drops the line: the log never holds a call up for long.
        const LockedLog log(logPath, GetTickCount64() + ov::kErrorLogWaitMs);
        if (!log) return;
        DWORD written = 0;
        WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        // Rotated within the turn: no other writer appends to a log being moved.
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(log.get(), &size) || size.QuadPart <= ov::kErrorLogLimit) return;
        DeleteFileA(backupPath.c_str());
        MoveFileA(logPath.c_str(), backupPath.c_str());
    } catch (...) {
        // The log is best effort; it never adds a failure of its own.
    }
}
