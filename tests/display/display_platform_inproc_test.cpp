// DisplayResList and DisplaySetRes against a simulated display: the exact
// record and flags handed to the platform, and the result mapping.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/app.h"
#include "display/display_platform.h"

namespace {

struct ChangeCall {
    std::optional<DEVMODEA> mode; // empty: no record was handed over
    DWORD flags = 0;
};

// One simulated display at a time, reached through static thunks.
struct SimulatedDisplay {
    std::vector<DEVMODEA> modes;
    std::vector<ChangeCall> changes;
    std::vector<DWORD> enumIndexes;
    LONG changeResult = DISP_CHANGE_SUCCESSFUL;
    bool throwOnChange = false;

    static SimulatedDisplay* active;

    static BOOL WINAPI Enum(LPCSTR device, DWORD index, DEVMODEA* mode) {
        EXPECT_EQ(device, nullptr);
        active->enumIndexes.push_back(index);
        const auto i = static_cast<LONG>(index);
        if (i < 0) {
            if (i != -1 || active->modes.empty()) return FALSE;
            *mode = active->modes.front();
            return TRUE;
        }
        if (static_cast<std::size_t>(i) >= active->modes.size()) return FALSE;
        *mode = active->modes[i];
        return TRUE;
    }
    static LONG WINAPI Change(DEVMODEA* mode, DWORD flags) {
        active->changes.push_back({mode ? std::optional<DEVMODEA>(*mode) : std::nullopt, flags});
        if (active->throwOnChange) throw std::runtime_error("display gone");
        return active->changeResult;
    }
};
SimulatedDisplay* SimulatedDisplay::active = nullptr;

DEVMODEA Mode(DWORD bits, DWORD width, DWORD height, DWORD freq) {
    DEVMODEA m{};
    m.dmSize = sizeof(m);
    m.dmBitsPerPel = bits;
    m.dmPelsWidth = width;
    m.dmPelsHeight = height;
    m.dmDisplayFrequency = freq;
    return m;
}

class DisplaySimulated : public ::testing::Test {
  protected:
    void SetUp() override {
        SimulatedDisplay::active = &display;
        platform.EnumDisplaySettingsA = &SimulatedDisplay::Enum;
        platform.ChangeDisplaySettingsA = &SimulatedDisplay::Change;
        ov::SetPlatformForTesting(&platform);
    }
    void TearDown() override {
        ov::SetPlatformForTesting<ov::DisplayPlatform>(nullptr);
        SimulatedDisplay::active = nullptr;
    }

    // The record handed over must be zero apart from size, fields and the marked values.
    static void ExpectCleanRecord(const DEVMODEA& m) {
        DEVMODEA blank = m;
        blank.dmSize = 0;
        blank.dmFields = 0;
        blank.dmPelsWidth = blank.dmPelsHeight = blank.dmBitsPerPel = blank.dmDisplayFrequency = 0;
        EXPECT_EQ(blank.dmDriverExtra, 0);
        const DEVMODEA zero{};
        EXPECT_EQ(std::memcmp(&blank, &zero, sizeof(zero)), 0);
        EXPECT_EQ(m.dmSize, sizeof(DEVMODEA));
    }

    SimulatedDisplay display;
    ov::DisplayPlatform platform = ov::Display(); // the window calls stay real
};

} // namespace

TEST_F(DisplaySimulated, ModeTextsCarryTheValuesSignedAndTheIndexAsGiven) {
    display.modes = {Mode(32, 1024, 768, 60), Mode(0xFFFFFFFF, 0, 1, 0x80000000)};
    EXPECT_STREQ(TheApp().DisplayResList(0), "Dsp0 : Bits=32, Width=1024, Height=768, Freq=60Hz");
    EXPECT_STREQ(TheApp().DisplayResList(1),
                 "Dsp1 : Bits=-1, Width=0, Height=1, Freq=-2147483648Hz");
    EXPECT_STREQ(TheApp().DisplayResList(-1), "Dsp-1 : Bits=32, Width=1024, Height=768, Freq=60Hz");
    EXPECT_STREQ(TheApp().DisplayResList(2), "");
    EXPECT_STREQ(TheApp().DisplayResList(-2), "");
    EXPECT_EQ(display.enumIndexes, (std::vector<DWORD>{0, 1, 0xFFFFFFFF, 2, 0xFFFFFFFE}));
}

TEST_F(DisplaySimulated, GivenValuesAreMarkedAndNegativeOnesLeftOut) {
    struct Case {
        int w, h, b, f, permanent;
        DWORD fields, flags;
    };
    const Case cases[] = {
        {800, 600, 32, 75, 0, DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL | DM_DISPLAYFREQUENCY,
         0},
        {800, 600, -1, -1, 0, DM_PELSWIDTH | DM_PELSHEIGHT, 0},
        {-1, -1, 16, -7, 1, DM_BITSPERPEL, CDS_UPDATEREGISTRY},
        {-1, -1, -1, 0, 5, DM_DISPLAYFREQUENCY, CDS_UPDATEREGISTRY},
        {0, -1, -1, -1, -1, DM_PELSWIDTH, CDS_UPDATEREGISTRY},
    };
    for (const Case& c : cases) {
        display.changes.clear();
        EXPECT_EQ(TheApp().DisplaySetRes(c.w, c.h, c.b, c.f, c.permanent), 1);
        ASSERT_EQ(display.changes.size(), 1u);
        const ChangeCall& call = display.changes[0];
        ASSERT_TRUE(call.mode.has_value());
        EXPECT_EQ(call.mode->dmFields, c.fields) << c.w << "," << c.h << "," << c.b << "," << c.f;
        EXPECT_EQ(call.flags, c.flags);
        if (c.w >= 0) {
            EXPECT_EQ(call.mode->dmPelsWidth, static_cast<DWORD>(c.w));
        }
        if (c.h >= 0) {
            EXPECT_EQ(call.mode->dmPelsHeight, static_cast<DWORD>(c.h));
        }
        if (c.b >= 0) {
            EXPECT_EQ(call.mode->dmBitsPerPel, static_cast<DWORD>(c.b));
        }
        if (c.f >= 0) {
            EXPECT_EQ(call.mode->dmDisplayFrequency, static_cast<DWORD>(c.f));
        }
        ExpectCleanRecord(*call.mode);
    }
}

TEST_F(DisplaySimulated, AllNegativeReturnsToTheDefaultWithoutRecordOrFlags) {
    for (int permanent : {0, 1}) {
        display.changes.clear();
        EXPECT_EQ(TheApp().DisplaySetRes(-1, -2, -3, -4, permanent), 1);
        ASSERT_EQ(display.changes.size(), 1u);
        EXPECT_FALSE(display.changes[0].mode.has_value());
        EXPECT_EQ(display.changes[0].flags, 0u);
    }
}

TEST_F(DisplaySimulated, PlatformResultsMapToOneTwoOrZero) {
    const std::pair<LONG, short> mapping[] = {{DISP_CHANGE_SUCCESSFUL, 1},
                                              {DISP_CHANGE_RESTART, 2},
                                              {DISP_CHANGE_FAILED, 0},
                                              {DISP_CHANGE_BADMODE, 0},
                                              {DISP_CHANGE_NOTUPDATED, 0},
                                              {DISP_CHANGE_BADFLAGS, 0},
                                              {DISP_CHANGE_BADPARAM, 0},
                                              {2, 0},
                                              {12345, 0}};
    for (const auto& [result, code] : mapping) {
        display.changeResult = result;
        EXPECT_EQ(TheApp().DisplaySetRes(640, 480, 8, 60, 0), code) << result;
        EXPECT_EQ(TheApp().DisplaySetRes(-1, -1, -1, -1, 0), code) << result;
    }
}

TEST_F(DisplaySimulated, AnUnexpectedFailureGivesZero) {
    display.throwOnChange = true;
    EXPECT_EQ(TheApp().DisplaySetRes(640, 480, 8, 60, 0), 0);
}
