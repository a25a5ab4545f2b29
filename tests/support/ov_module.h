// The built OvDurAru.dll, loaded the way the runtime loads it, with every
// export resolved by name into a pointer of its calling interface.
#pragma once

#include <windows.h>

#include <string>

#include "loader/ov_loader.h"
#include "support/error_log_file.h"

struct OvModule : ov::LoadedModule {
    // The module of this test process, loaded on first use from beside the test program.
    static OvModule& Get();
    // Full path of the built DLL.
    static std::string Path();

    // Polls IsActive until the request ends, then collects its text; a
    // request still running at the deadline fails the test naming its slot.
    std::string Wait(short slot, DWORD timeoutMs = 60000) const;
    // Collects every slot, so a test starts with all 30 free.
    void CollectAll() const;
};

// A fresh folder under the temporary folder, removed with its contents at the end.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

  private:
    std::string m_path;
};

// Removes path and everything below it, whatever the names and however long
// the paths; links inside are removed as links, never followed.
void RemoveTree(const std::string& path);
void WriteTextFile(const std::string& path, const std::string& content);
std::string ReadTextFile(const std::string& path);
bool FileExists(const std::string& path);
bool DirExists(const std::string& path);
// Moves a file's last-write time by the given number of seconds.
void ShiftWriteTime(const std::string& path, int seconds);
void SetWriteTime(const std::string& path, const FILETIME& time);
FILETIME WriteTimeOf(const std::string& path);
