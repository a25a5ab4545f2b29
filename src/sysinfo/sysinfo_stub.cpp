// Placeholder until the system-information subsystem lands.
#include "core/app.h"

namespace {
ov::ResultBuffer g_windows, g_system, g_temp, g_mydoc, g_computer, g_user, g_domain, g_version;
const char* Empty(ov::ResultBuffer& b) {
    b[0] = '\0';
    return b;
}
} // namespace

const char* COvDEvedApp::GetWindowsDir() { return Empty(g_windows); }
const char* COvDEvedApp::GetSystemDir() { return Empty(g_system); }
const char* COvDEvedApp::GetTempDir() { return Empty(g_temp); }
const char* COvDEvedApp::GetMyDocDir() { return Empty(g_mydoc); }
const char* COvDEvedApp::GetComputerName() { return Empty(g_computer); }
const char* COvDEvedApp::GetWindowsUserName() { return Empty(g_user); }
const char* COvDEvedApp::GetWindowsUserDomain(short) { return Empty(g_domain); }
short COvDEvedApp::GetWindowsUserGroups() { return -1; }
const char* COvDEvedApp::GetVersion(const char*) { return Empty(g_version); }
