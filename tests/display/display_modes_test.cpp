// Display modes through the DLL: Wine's null driver keeps a real mode list.
// The texts' exact form is held against a simulated display in-process; here
// the list must follow the system's, and the current mode be the screen's.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ov_module.h"

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

bool SystemHasMode(int index) {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    return EnumDisplaySettingsA(nullptr, static_cast<DWORD>(index), &mode) != FALSE;
}

// A text without its "Dsp<index> : " lead.
std::string ModePart(const std::string& text) { return text.substr(text.find(" : ") + 3); }

} // namespace

TEST(DisplayResList, ListsEveryModeUpToTheFirstEmptyText) {
    auto& ov = OvModule::Get();
    const int logged = CountLogLines("COvDEvedApp::DisplayResList");
    std::vector<std::string> listed;
    for (int index = 0; SystemHasMode(index); ++index) {
        listed.push_back(ov.DisplayResList(index));
        EXPECT_THAT(listed.back(), StartsWith("Dsp" + std::to_string(index) + " : Bits="));
        listed.back() = ModePart(listed.back());
    }
    ASSERT_FALSE(listed.empty());
    EXPECT_STREQ(ov.DisplayResList(static_cast<int>(listed.size())), "");
    EXPECT_STREQ(ov.DisplayResList(static_cast<int>(listed.size()) + 1000), "");

    // Negative indexes go through as given: -1 is the current mode, one of the list.
    const std::string current = ov.DisplayResList(-1);
    EXPECT_THAT(current, StartsWith("Dsp-1 : Bits="));
    EXPECT_THAT(listed, Contains(ModePart(current)));
    EXPECT_THAT(current,
                HasSubstr(", Width=" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) +
                          ", Height=" + std::to_string(GetSystemMetrics(SM_CYSCREEN)) + ", "));
    if (SystemHasMode(-2))
        EXPECT_THAT(ov.DisplayResList(-2), StartsWith("Dsp-2 : Bits="));
    else
        EXPECT_STREQ(ov.DisplayResList(-2), "");
    EXPECT_EQ(CountLogLines("COvDEvedApp::DisplayResList"), logged);
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
