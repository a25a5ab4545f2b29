// The Windows, system, temporary and documents folders and the computer name:
// each text exactly as the platform gives it, or the empty text.
#include "core/app.h"
#include "core/call_frame.h"
#include "core/result_buffer.h"
#include "sysinfo/sysinfo_platform.h"

namespace {

ov::ResultBuffer g_windowsDir, g_systemDir, g_tempDir, g_myDocDir, g_computerName;

constexpr DWORD kRoom = 255;
constexpr DWORD kMyDocRoom = 254;
const char kShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Lets lookup fill the buffer with a room of 255 characters; lookup returns
// the length it reports, 0 on failure.
template <class Lookup>
const char* PlainLookup(const char* traceName, ov::ResultBuffer& buffer, Lookup lookup) {
    return ov::TextFrame(traceName, buffer, [&](ov::ResultBuffer& text) {
        const DWORD reported = lookup(text);
        // Above 254 the platform reports the room it would have needed.
        if (reported == 0 || reported > ov::kMaxResultText) text[0] = '\0';
    });
}

} // namespace

const char* COvDEvedApp::GetWindowsDir() {
    return PlainLookup(OV_APP_TRACE(GetWindowsDir), g_windowsDir, [](char* buffer) -> DWORD {
        return ov::Sysinfo().GetWindowsDirectoryA(buffer, kRoom);
    });
}

const char* COvDEvedApp::GetSystemDir() {
    return PlainLookup(OV_APP_TRACE(GetSystemDir), g_systemDir, [](char* buffer) -> DWORD {
        return ov::Sysinfo().GetSystemDirectoryA(buffer, kRoom);
    });
}

const char* COvDEvedApp::GetTempDir() {
    return PlainLookup(OV_APP_TRACE(GetTempDir), g_tempDir, [](char* buffer) -> DWORD {
        return ov::Sysinfo().GetTempPathA(kRoom, buffer);
    });
}

const char* COvDEvedApp::GetComputerName() {
    return PlainLookup(OV_APP_TRACE(GetWindowsComputerName), g_computerName,
                       [](char* buffer) -> DWORD {
                           DWORD size = kRoom;
                           return ov::Sysinfo().GetComputerNameA(buffer, &size) ? size : 0;
                       });
}

const char* COvDEvedApp::GetMyDocDir() {
    ov::SysinfoKey key; // outside the frame: closed even after a fault
    return ov::TextFrame(OV_APP_TRACE(GetMyDocDir), g_myDocDir, [&](ov::ResultBuffer& text) {
        const auto& platform = ov::Sysinfo();
        HKEY opened = nullptr;
        if (platform.RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_QUERY_VALUE, &opened) !=
            ERROR_SUCCESS)
            return;
        key.reset(opened);
        DWORD size = kMyDocRoom;
        const LONG status = platform.RegQueryValueExA(key.get(), "Personal", nullptr, nullptr,
                                                      reinterpret_cast<BYTE*>(text), &size);
        key.reset();
        if (status != ERROR_SUCCESS || size > kMyDocRoom)
            text[0] = '\0';
        else
            text[size] = '\0'; // data stored without its terminator still ends here
    });
}
