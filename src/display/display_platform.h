// The display settings and window calls of the display exports, bound to
// user32. Tests put a simulated display here to see the exact record and flags.
#pragma once

#include <windows.h>

namespace ov {

struct DisplayPlatform {
    decltype(&::EnumDisplaySettingsA) EnumDisplaySettingsA;
    decltype(&::ChangeDisplaySettingsA) ChangeDisplaySettingsA;
    decltype(&::GetWindowLongA) GetWindowLongA;
    decltype(&::SetWindowLongA) SetWindowLongA;
    decltype(&::SetWindowPos) SetWindowPos;
    decltype(&::InvalidateRect) InvalidateRect;
    decltype(&::EnumWindows) EnumWindows;
    decltype(&::GetWindowThreadProcessId) GetWindowThreadProcessId;
    decltype(&::GetCurrentProcessId) GetCurrentProcessId;
    decltype(&::InternalGetWindowText) InternalGetWindowText;
    decltype(&::GetWindowTextA) GetWindowTextA;
};

// The table in use: the system's calls unless a test has put its own in place.
const DisplayPlatform& Display();
// Tests only: puts a table in place; null brings back the system's.
void SetDisplayForTesting(const DisplayPlatform* table);

} // namespace ov
