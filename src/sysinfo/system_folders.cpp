// The Windows, system, temporary and documents folders and the computer name:
// each text exactly as the platform gives it, or the empty text.
#include "core/app.h"
#include "core/handles.h"
#include "sysinfo/sysinfo_platform.h"

namespace {

ov::ResultBuffer g_windowsDir, g_systemDir, g_tempDir, g_myDocDir, g_computerName;

constexpr DWORD kRoom = 255;
constexpr DWORD kMyDocRoom = 254;
const char kShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Empties the buffer, then lets lookup fill it with a room of 255 characters;
// lookup returns the length it reports, 0 on failure.
template <class Lookup>
const char* PlainLookup(const char* traceName, ov::ResultBuffer& buffer, Lookup lookup) {
    buffer[0] = '\0';
    return ov::CallFrame<const char*>(traceName, buffer, [&] {
        const DWORD reported = lookup(buffer);
        // Above 254 the platform reports the room it would have needed.
        if (reported == 0 || reported > ov::kMaxResultText) buffer[0] = '\0';
        return static_cast<const char*>(buffer);
    });
}

} // namespace

const char* COvDEvedApp::GetWindowsDir() {
    return PlainLookup("COvDEvedApp::GetWindowsDir", g_windowsDir, [](char* buffer) -> DWORD {
        return ov::sysinfo::ActivePlatform().GetWindowsDirectoryA(buffer, kRoom);
    });
}

const char* COvDEvedApp::GetSystemDir() {
    return PlainLookup("COvDEvedApp::GetSystemDir", g_systemDir, [](char* buffer) -> DWORD {
        return ov::sysinfo::ActivePlatform().GetSystemDirectoryA(buffer, kRoom);
    });
}

const char* COvDEvedApp::GetTempDir() {
    return PlainLookup("COvDEvedApp::GetTempDir", g_tempDir, [](char* buffer) -> DWORD {
        return ov::sysinfo::ActivePlatform().GetTempPathA(kRoom, buffer);
    });
}

const char* COvDEvedApp::GetComputerName() {
    return PlainLookup(
        "COvDEvedApp::GetWindowsComputerName", g_computerName, [](char* buffer) -> DWORD {
            DWORD size = kRoom;
            return ov::sysinfo::ActivePlatform().GetComputerNameA(buffer, &size) ? size : 0;
        });
}

const char* COvDEvedApp::GetMyDocDir() {
    g_myDocDir[0] = '\0';
    ov::UniqueKey key; // outside the frame: closed even after a fault
    return ov::CallFrame<const char*>("COvDEvedApp::GetMyDocDir", g_myDocDir, [&] {
        HKEY opened = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_QUERY_VALUE, &opened) !=
            ERROR_SUCCESS)
            return static_cast<const char*>(g_myDocDir);
        key.reset(opened);
        DWORD size = kMyDocRoom;
        const LONG status = RegQueryValueExA(key.get(), "Personal", nullptr, nullptr,
                                             reinterpret_cast<BYTE*>(g_myDocDir), &size);
        key.reset();
        if (status != ERROR_SUCCESS || size > kMyDocRoom)
            g_myDocDir[0] = '\0';
        else
            g_myDocDir[size] = '\0'; // data stored without its terminator still ends here
        return static_cast<const char*>(g_myDocDir);
    });
}
