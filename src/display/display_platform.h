// Display settings as the display-mode exports reach them, bound to user32 by
// default. Tests put a simulated display here to see the exact record and flags.
#pragma once

#include <windows.h>

namespace ov {

struct DisplayPlatform {
    BOOL(WINAPI* enumDisplaySettings)(LPCSTR device, DWORD index, DEVMODEA* mode);
    LONG(WINAPI* changeDisplaySettings)(DEVMODEA* mode, DWORD flags);
};

// The display in use: the system's unless a test has put another in place.
const DisplayPlatform& Display();
// Tests only: nullptr restores the system's display.
void SetDisplayForTesting(const DisplayPlatform* display);

} // namespace ov
