#include <cstring>
#include <string>

#include "core/app.h"
#include "files/paths.h"

short COvDEvedApp::CreateNewDir(char* path) {
    short lastCreated = 0;
    return ov::CallFrame<short>("COvDEvedApp::CreateNewDir", lastCreated, [&]() -> short {
        const std::size_t length = std::strlen(path);
        if (length == 0) return 0;
        std::string text(path, length);
        if (text.back() == '\\') {
            path[length - 1] = '\0'; // the caller's text loses one trailing backslash
            text.pop_back();
        }
        if (!ov::FitsPath(text)) return 0;
        // Every parent from the fourth character on; a drive, server or share
        // prefix, or one that exists, simply fails.
        for (std::size_t i = 3; i < text.size(); ++i) {
            if (text[i] != '\\') continue;
            lastCreated = CreateDirectoryA(text.substr(0, i).c_str(), nullptr) ? 1 : 0;
        }
        lastCreated = CreateDirectoryA(text.c_str(), nullptr) ? 1 : 0;
        return lastCreated;
    });
}
