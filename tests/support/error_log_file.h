// The module's error log and its backup in the Windows folder, as the tests
// read them, in-process and through the DLL alike.
#pragma once

#include <string>

std::string ErrorLogPath();
std::string ErrorBackupPath();
// Number of whole lines naming traceName in the error log.
int CountLogLines(const std::string& traceName);
