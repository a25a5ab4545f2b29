#include "display/display_platform.h"

#include <atomic>

namespace ov {
namespace {

const DisplayPlatform kSystemDisplay{&EnumDisplaySettingsA, &ChangeDisplaySettingsA};

std::atomic<const DisplayPlatform*> g_display{&kSystemDisplay};

} // namespace

const DisplayPlatform& Display() {
    return *g_display.load(std::memory_order_acquire);
}

void SetDisplayForTesting(const DisplayPlatform* display) {
    g_display.store(display ? display : &kSystemDisplay, std::memory_order_release);
}

} // namespace ov
