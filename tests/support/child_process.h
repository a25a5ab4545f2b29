// Runs a program as a user would, with CreateProcess, and reads back what it
// wrote and how it ended.
#pragma once

#include <windows.h>

#include <string>

struct ProgramRun {
    DWORD status = 0;
    std::string out;
    std::string err;
};

// Runs exe with the command line tail in the folder dir, where its streams go
// to files; fails the test when it cannot start or does not end in 120 s.
ProgramRun RunProgram(const std::string& exe, const std::string& tail, const std::string& dir);
