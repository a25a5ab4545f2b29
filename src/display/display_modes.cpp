#include <string>

#include "core/app.h"
#include "core/call_frame.h"
#include "core/result_buffer.h"
#include "display/display_platform.h"

namespace {

ov::ResultBuffer g_modeText;

std::string Signed(DWORD value) { return std::to_string(static_cast<LONG>(value)); }

std::string DescribeMode(int index, const DEVMODEA& mode) {
    return "Dsp" + std::to_string(index) + " : Bits=" + Signed(mode.dmBitsPerPel) +
           ", Width=" + Signed(mode.dmPelsWidth) + ", Height=" + Signed(mode.dmPelsHeight) +
           ", Freq=" + Signed(mode.dmDisplayFrequency) + "Hz";
}

DEVMODEA EmptyModeRecord() {
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    return mode;
}

// Puts value into field and marks it, unless it is negative (left as it is).
void MarkIfGiven(DEVMODEA& mode, DWORD& field, DWORD flag, int value) {
    field = static_cast<DWORD>(value);
    if (value >= 0) mode.dmFields |= flag;
}

short MapChangeResult(LONG result) {
    switch (result) {
    case DISP_CHANGE_SUCCESSFUL:
        return 1;
    case DISP_CHANGE_RESTART:
        return 2;
    default:
        return 0;
    }
}

} // namespace

const char* COvDEvedApp::DisplayResList(int index) {
    return ov::TextFrame(OV_APP_TRACE(DisplayResList), g_modeText, [&](ov::ResultBuffer& text) {
        DEVMODEA mode = EmptyModeRecord();
        // The index goes through unchanged: negative ones name the current
        // and the stored mode.
        if (ov::Display().EnumDisplaySettingsA(nullptr, static_cast<DWORD>(index), &mode))
            ov::CopyCut(text, DescribeMode(index, mode));
    });
}

short COvDEvedApp::DisplaySetRes(int width, int height, int bits, int frequency, int permanent) {
    return ov::CallFrame<short>(OV_APP_TRACE(DisplaySetRes), 0, [&]() -> short {
        DEVMODEA mode = EmptyModeRecord();
        MarkIfGiven(mode, mode.dmPelsWidth, DM_PELSWIDTH, width);
        MarkIfGiven(mode, mode.dmPelsHeight, DM_PELSHEIGHT, height);
        MarkIfGiven(mode, mode.dmBitsPerPel, DM_BITSPERPEL, bits);
        MarkIfGiven(mode, mode.dmDisplayFrequency, DM_DISPLAYFREQUENCY, frequency);
        const auto& display = ov::Display();
        // Nothing given: back to the stored default mode, nothing stored.
        if (mode.dmFields == 0) return MapChangeResult(display.ChangeDisplaySettingsA(nullptr, 0));
        const DWORD flags = permanent ? CDS_UPDATEREGISTRY : 0;
        return MapChangeResult(display.ChangeDisplaySettingsA(&mode, flags));
    });
}
