// The display settings and window calls of the display exports, bound to
// user32. Tests put a simulated display here to see the exact record and flags.
#pragma once

#include <windows.h>

#include "core/platform_binding.h"

namespace ov {

// clang-format off
#define OV_DISPLAY_CALLS(X)                                                                        \
    X(EnumDisplaySettingsA) X(ChangeDisplaySettingsA)                                              \
    X(GetWindowLongA) X(SetWindowLongA) X(SetWindowPos) X(InvalidateRect)                          \
    X(EnumWindows) X(GetWindowThreadProcessId) X(GetCurrentProcessId)                              \
    X(InternalGetWindowText) X(GetWindowTextA)
// clang-format on

struct DisplayPlatform {
    OV_DISPLAY_CALLS(OV_PLATFORM_MEMBER)
    static const DisplayPlatform kSystem;
};

inline const DisplayPlatform& Display() { return Platform<DisplayPlatform>(); }

} // namespace ov
