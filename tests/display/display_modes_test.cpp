// Display modes through the DLL: Wine's null driver keeps a real mode list.
#include <gtest/gtest.h>

#include <string>

#include "support/ov_module.h"

namespace {

std::string Expected(int index, const DEVMODEA& m) {
    return "Dsp" + std::to_string(index) + " : Bits=" + std::to_string(m.dmBitsPerPel) +
           ", Width=" + std::to_string(m.dmPelsWidth) +
           ", Height=" + std::to_string(m.dmPelsHeight) +
           ", Freq=" + std::to_string(m.dmDisplayFrequency) + "Hz";
}

bool ModeOf(int index, DEVMODEA& mode) {
    mode = DEVMODEA{};
    mode.dmSize = sizeof(mode);
    return EnumDisplaySettingsA(nullptr, static_cast<DWORD>(index), &mode) != FALSE;
}

} // namespace

TEST(DisplayResList, ListsEveryModeUpToTheFirstEmptyText) {
    auto& ov = OvModule::Get();
    const int logged = CountLogLines("COvDEvedApp::DisplayResList");
    int count = 0;
    for (; count < 10000; ++count) {
        const std::string text = ov.DisplayResList(count);
        DEVMODEA mode;
        if (!ModeOf(count, mode)) {
            EXPECT_EQ(text, "");
            break;
        }
        EXPECT_EQ(text, Expected(count, mode));
    }
    EXPECT_GT(count, 0);
    EXPECT_STREQ(ov.DisplayResList(count + 1000), "");
    EXPECT_EQ(CountLogLines("COvDEvedApp::DisplayResList"), logged);
}

TEST(DisplayResList, NegativeIndexesAreHandedOnAndCarriedInTheText) {
    auto& ov = OvModule::Get();
    DEVMODEA current;
    ASSERT_TRUE(ModeOf(-1, current));
    EXPECT_EQ(std::string(ov.DisplayResList(-1)), Expected(-1, current));
    EXPECT_EQ(std::string(ov.DisplayResList(-1)).rfind("Dsp-1 : Bits=", 0), 0u);
    DEVMODEA stored;
    EXPECT_EQ(std::string(ov.DisplayResList(-2)), ModeOf(-2, stored) ? Expected(-2, stored) : "");
}

TEST(DisplayResList, TheTextStaysUntilTheNextCall) {
    auto& ov = OvModule::Get();
    const char* first = ov.DisplayResList(0);
    const std::string kept = first;
    ASSERT_FALSE(kept.empty());
    EXPECT_STREQ(ov.DisplayResList(-1000000), "");
    EXPECT_EQ(ov.DisplayResList(0), first); // one module-wide buffer
    EXPECT_EQ(std::string(first), kept);
}

TEST(DisplaySetRes, WineSwitchesToAListedModeAndBack) {
    auto& ov = OvModule::Get();
    DEVMODEA current;
    ASSERT_TRUE(ModeOf(-1, current));
    // The current mode again, temporarily; then size only; then back to the default.
    EXPECT_EQ(ov.DisplaySetRes(current.dmPelsWidth, current.dmPelsHeight, current.dmBitsPerPel,
                               current.dmDisplayFrequency, 0),
              1);
    EXPECT_EQ(ov.DisplaySetRes(current.dmPelsWidth, current.dmPelsHeight, -1, -1, 0), 1);
    EXPECT_EQ(ov.DisplaySetRes(-1, -1, -1, -1, 1), 1);
    DEVMODEA after;
    ASSERT_TRUE(ModeOf(-1, after));
    EXPECT_EQ(Expected(-1, after), Expected(-1, current));
}

TEST(DisplaySetRes, WineRefusesAModeTheDeviceCannotShow) {
    auto& ov = OvModule::Get();
    const int logged = CountLogLines("COvDEvedApp::DisplaySetRes");
    EXPECT_EQ(ov.DisplaySetRes(12345, 6789, 32, 60, 0), 0);
    EXPECT_EQ(CountLogLines("COvDEvedApp::DisplaySetRes"), logged);
}
