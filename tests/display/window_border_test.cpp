// SetWindowBorder and WindowRefresh through the DLL on real windows.
#include <gtest/gtest.h>

#include "display/test_windows.h"
#include "support/ov_module.h"

namespace {

LONG StyleOf(HWND w) { return GetWindowLongA(w, GWL_STYLE); }
LONG ExStyleOf(HWND w) { return GetWindowLongA(w, GWL_EXSTYLE); }

bool HasLine(HWND w) { return (StyleOf(w) & WS_BORDER) != 0; }
bool HasEdge(HWND w) { return (ExStyleOf(w) & WS_EX_CLIENTEDGE) != 0; }
bool IsTransparent(HWND w) { return (ExStyleOf(w) & WS_EX_TRANSPARENT) != 0; }

// The export as the runtime calls it, with full 32-bit argument words.
using WideBorderFn = short(__cdecl*)(HWND, int, int);
WideBorderFn WideSetWindowBorder() {
    return reinterpret_cast<WideBorderFn>(
        reinterpret_cast<void*>(GetProcAddress(OvModule::Get().handle, "SetWindowBorder")));
}

// A window with the given border bits and some unrelated bits to keep.
struct BorderedWindow {
    explicit BorderedWindow(DWORD style, DWORD exStyle)
        : windows({{"border", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | style,
                    WS_EX_TOOLWINDOW | exStyle}}),
          w(windows[0]) {}
    TestWindows windows;
    HWND w;
};

} // namespace

TEST(DisplayWindowBorder, KindsSwitchBetweenLineEdgeAndNoneKeepingOtherBits) {
    auto& ov = OvModule::Get();
    BorderedWindow sunken(0, WS_EX_CLIENTEDGE);
    const LONG otherStyle = StyleOf(sunken.w) & ~WS_BORDER;
    const LONG otherEx = ExStyleOf(sunken.w) & ~WS_EX_CLIENTEDGE;

    EXPECT_EQ(ov.SetWindowBorder(sunken.w, 1, 0), 1);
    EXPECT_TRUE(HasLine(sunken.w));
    EXPECT_FALSE(HasEdge(sunken.w));

    EXPECT_EQ(ov.SetWindowBorder(sunken.w, 2, 0), 1);
    EXPECT_FALSE(HasLine(sunken.w));
    EXPECT_TRUE(HasEdge(sunken.w));

    EXPECT_EQ(ov.SetWindowBorder(sunken.w, 0, 0), 1);
    EXPECT_FALSE(HasLine(sunken.w));
    EXPECT_FALSE(HasEdge(sunken.w));

    EXPECT_EQ(StyleOf(sunken.w) & ~WS_BORDER, otherStyle);
    EXPECT_EQ(ExStyleOf(sunken.w) & ~WS_EX_CLIENTEDGE, otherEx);
}

TEST(DisplayWindowBorder, UnknownKindsGiveTheLineBorder) {
    auto& ov = OvModule::Get();
    for (short kind : {7, -1, 3, -32768}) {
        BorderedWindow sunken(0, WS_EX_CLIENTEDGE);
        EXPECT_EQ(ov.SetWindowBorder(sunken.w, kind, 0), 1);
        EXPECT_TRUE(HasLine(sunken.w)) << kind;
        EXPECT_FALSE(HasEdge(sunken.w)) << kind;
    }
}

TEST(DisplayWindowBorder, OnlyTheLowSixteenBitsOfTheArgumentsCount) {
    BorderedWindow both(WS_BORDER, WS_EX_CLIENTEDGE);
    EXPECT_EQ(WideSetWindowBorder()(both.w, 65536, 65536), 1);
    EXPECT_FALSE(HasLine(both.w));
    EXPECT_FALSE(HasEdge(both.w));
    EXPECT_FALSE(IsTransparent(both.w));

    EXPECT_EQ(WideSetWindowBorder()(both.w, 65536 + 2, 65536 + 1), 1);
    EXPECT_TRUE(HasEdge(both.w));
    EXPECT_TRUE(IsTransparent(both.w));
}

TEST(DisplayWindowBorder, TransparentIsSetButNeverCleared) {
    auto& ov = OvModule::Get();
    BorderedWindow plain(0, 0);
    ASSERT_FALSE(IsTransparent(plain.w));
    EXPECT_EQ(ov.SetWindowBorder(plain.w, 0, 1), 1);
    EXPECT_TRUE(IsTransparent(plain.w));
    EXPECT_EQ(ov.SetWindowBorder(plain.w, 2, 0), 1);
    EXPECT_TRUE(IsTransparent(plain.w));
    EXPECT_TRUE(HasEdge(plain.w));
}

TEST(DisplayWindowBorder, AHandleThatNamesNoWindowStillAnswersOneAndLogsNothing) {
    auto& ov = OvModule::Get();
    HWND gone;
    {
        TestWindows windows({{"gone"}});
        gone = windows[0];
    }
    ASSERT_FALSE(IsWindow(gone));
    const int before = CountLogLines("COvDEvedApp::SetWindowBorder");
    EXPECT_EQ(ov.SetWindowBorder(gone, 1, 1), 1);
    EXPECT_EQ(ov.SetWindowBorder(nullptr, 2, 0), 1);
    EXPECT_EQ(CountLogLines("COvDEvedApp::SetWindowBorder"), before);
}

TEST(DisplayWindowRefresh, OneForAWindowZeroForAHandleThatNamesNone) {
    auto& ov = OvModule::Get();
    HWND gone;
    {
        TestWindows windows({{"refresh", WS_OVERLAPPEDWINDOW | WS_VISIBLE}});
        EXPECT_EQ(ov.WindowRefresh(windows[0]), 1);
        gone = windows[0];
    }
    ASSERT_FALSE(IsWindow(gone));
    EXPECT_EQ(ov.WindowRefresh(gone), 0);
}

TEST(DisplayWindowRefresh, NoHandleAnswersZeroAndRepaintsNothing) {
    auto& ov = OvModule::Get();
    // Its thread handles no messages, so whatever is marked for repainting stays marked.
    TestWindows windows({{"refresh-idle", WS_OVERLAPPEDWINDOW | WS_VISIBLE}},
                        WindowThread::Blocked);
    RedrawWindow(windows[0], nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOERASE);
    ASSERT_FALSE(GetUpdateRect(windows[0], nullptr, FALSE));
    EXPECT_EQ(ov.WindowRefresh(nullptr), 0);
    EXPECT_FALSE(GetUpdateRect(windows[0], nullptr, FALSE)) << "other windows were repainted";
    EXPECT_EQ(ov.WindowRefresh(windows[0]), 1);
    EXPECT_TRUE(GetUpdateRect(windows[0], nullptr, FALSE));
}
