// Placeholder until the file list lands.
#include "core/app.h"

namespace {
ov::ResultBuffer g_name;
}

short COvDEvedApp::GetFileList(const char*, short) { return -1; }
short COvDEvedApp::GetFileListCount() { return -1; }
const char* COvDEvedApp::GetFileListName(short) {
    g_name[0] = '\0';
    return g_name;
}
