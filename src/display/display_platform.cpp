#include "display/display_platform.h"

#include "core/platform_binding.h"

namespace ov {
namespace {

const DisplayPlatform kSystem = {
    &::EnumDisplaySettingsA, &::ChangeDisplaySettingsA,
    &::GetWindowLongA,       &::SetWindowLongA,
    &::SetWindowPos,         &::InvalidateRect,
    &::EnumWindows,          &::GetWindowThreadProcessId,
    &::GetCurrentProcessId,  &::InternalGetWindowText,
    &::GetWindowTextA,
};

PlatformBinding<DisplayPlatform> g_active{kSystem};

} // namespace

const DisplayPlatform& Display() { return g_active.Get(); }

void SetDisplayForTesting(const DisplayPlatform* table) { g_active.Replace(table); }

} // namespace ov
