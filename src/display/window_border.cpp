// SetWindowBorder and WindowRefresh only call the platform: no frame, no log.
#include "core/app.h"
#include "display/display_platform.h"

namespace {

constexpr UINT kFrameRefreshFlags =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER;

enum BorderKind : short { kNoBorder = 0, kSunkenEdge = 2 };

} // namespace

short COvDEvedApp::SetWindowBorder(HWND window, short kind, short transparent) {
    const auto& display = ov::Display();
    LONG style = display.GetWindowLongA(window, GWL_STYLE) & ~static_cast<LONG>(WS_BORDER);
    LONG exStyle =
        display.GetWindowLongA(window, GWL_EXSTYLE) & ~static_cast<LONG>(WS_EX_CLIENTEDGE);
    if (kind == kSunkenEdge)
        exStyle |= WS_EX_CLIENTEDGE;
    else if (kind != kNoBorder)
        style |= WS_BORDER;
    // Never cleared here: a transparent window stays so.
    if (transparent) exStyle |= WS_EX_TRANSPARENT;
    display.SetWindowLongA(window, GWL_STYLE, style);
    display.SetWindowLongA(window, GWL_EXSTYLE, exStyle);
    display.SetWindowPos(window, nullptr, 0, 0, 0, 0, kFrameRefreshFlags);
    return 1;
}

short COvDEvedApp::WindowRefresh(HWND window) {
    // No handle names no window; passed on, it would repaint every window.
    if (!window) return 0;
    return ov::Display().InvalidateRect(window, nullptr, FALSE) ? 1 : 0;
}
