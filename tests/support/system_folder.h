// The system folder as the loader names it, lower-cased, with a trailing
// separator: what a module loaded from the system folder has its path start with.
#pragma once

#include <windows.h>

#include <cctype>
#include <string>

inline std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

inline std::string SystemFolder() {
    char folder[MAX_PATH];
    const UINT n = GetSystemDirectoryA(folder, MAX_PATH);
    return Lower(std::string(folder, n)) + "\\";
}
