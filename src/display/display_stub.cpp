// Placeholder until the display subsystem lands.
#include "core/app.h"

namespace {
ov::ResultBuffer g_modes;
}

const char* COvDEvedApp::DisplayResList(int) {
    g_modes[0] = '\0';
    return g_modes;
}
short COvDEvedApp::DisplaySetRes(int, int, int, int, int) { return 0; }
short COvDEvedApp::SetWindowBorder(HWND, short, short) { return 1; }
short COvDEvedApp::WindowRefresh(HWND) { return 0; }
short COvDEvedApp::GetWindowList(int, int, const char*, const char*, short) { return -1; }
