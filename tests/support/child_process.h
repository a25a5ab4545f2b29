// Runs a program as a user would, with CreateProcess, and reads back what it
// wrote and how it ended.
#pragma once

#include <windows.h>

#include <string>

#include "core/handles.h"

struct ProgramRun {
    DWORD status = 0;
    std::string out;
    std::string err;
};

// Runs exe with the command line tail in the folder dir, where its streams go
// to files; fails the test when it cannot start or does not end in 120 s.
ProgramRun RunProgram(const std::string& exe, const std::string& tail, const std::string& dir);

// A program started with CreateProcess, which it inherits the environment
// from; ended with Finish, or killed at the end of the scope.
class ChildProcess {
  public:
    explicit ChildProcess(std::string commandLine);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return static_cast<bool>(m_process); }
    // Its exit code once it ended, or -1 when it never started or is still
    // running after timeoutMs (reported as a test failure naming the program).
    long Finish(DWORD timeoutMs = 60000);

  private:
    std::string m_commandLine;
    ov::UniqueHandle m_process;
};

// Full path of this test program.
std::string ThisProgram();
