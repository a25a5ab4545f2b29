// Placeholder until the dial-up subsystem lands: frames and failure values only.
#include "core/app.h"

namespace {
ov::ResultBuffer g_entries, g_list;
}

const char* COvDEvedApp::RASEntries() {
    g_entries[0] = '\0';
    return g_entries;
}
const char* COvDEvedApp::RASList() {
    g_list[0] = '\0';
    return g_list;
}
short COvDEvedApp::RASActive(const char*) { return 0; }
short COvDEvedApp::RASDial(const char*, const char*, const char*, const char*) { return -1; }
short COvDEvedApp::RASHangUp(const char*) { return -1; }
