#include <cstring>
#include <optional>
#include <string>

#include "core/app.h"
#include "core/call_frame.h"
#include "files/files_platform.h"
#include "files/paths.h"

namespace {

bool CreateOneDirectory(std::wstring_view path) {
    const std::optional<std::wstring> full = ov::LongPathOf(path);
    return full && ov::Files().CreateDirectoryW(full->c_str(), nullptr);
}

} // namespace

short COvDEvedApp::CreateNewDir(char* path) {
    short lastCreated = 0;
    return ov::CallFrame<short>(OV_APP_TRACE(CreateNewDir), lastCreated, [&]() -> short {
        const std::size_t length = std::strlen(path);
        if (length == 0) return 0;
        std::optional<std::wstring> text = ov::WideFromAnsi({path, length});
        if (!text) return 0;
        // Judged on characters, not bytes: a double-byte character may end in
        // the byte of a backslash.
        if (text->back() == L'\\') {
            path[length - 1] = '\0'; // the caller's text loses one trailing backslash
            text->pop_back();
        }
        if (!ov::FitsPath({path, std::strlen(path)})) return 0;
        // Every parent from the fourth character on; a drive, server or share
        // prefix, or one that exists, simply fails.
        for (std::size_t i = 3; i < text->size(); ++i) {
            if ((*text)[i] != L'\\') continue;
            lastCreated = CreateOneDirectory(std::wstring_view(*text).substr(0, i)) ? 1 : 0;
        }
        lastCreated = CreateOneDirectory(*text) ? 1 : 0;
        return lastCreated;
    });
}
