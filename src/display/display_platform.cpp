#include "display/display_platform.h"

#include "core/platform_binding.h"

namespace ov {
namespace {

const DisplayPlatform kSystemDisplay{&EnumDisplaySettingsA, &ChangeDisplaySettingsA};

PlatformBinding<DisplayPlatform> g_display{kSystemDisplay};

} // namespace

const DisplayPlatform& Display() { return g_display.Get(); }

void SetDisplayForTesting(const DisplayPlatform* display) { g_display.Replace(display); }

} // namespace ov
