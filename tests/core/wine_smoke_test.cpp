// The services Wine only stubs, once through the DLL: no phone book and no
// connections, dials that connect nothing, display modes that can be set to
// what the device lists and no other. Every answer arrives without a log line.
#include <gtest/gtest.h>

#include <string>

#include "ovcall/host.h"
#include "support/ov_module.h"

namespace {
const char* const kTraces[] = {"COvDEvedApp::RASEntries", "COvDEvedApp::RASList",
                               "COvDEvedApp::RASActive",  "COvDEvedApp::RASDial",
                               "COvDEvedApp::RASHangUp",  "COvDEvedApp::DisplaySetRes"};

int LoggedFailures() {
    int lines = 0;
    for (const char* trace : kTraces)
        lines += CountLogLines(trace);
    return lines;
}
} // namespace

TEST(WineSmoke, StubbedServicesAnswerThroughTheDll) {
    if (!ovcall::UnderWine()) GTEST_SKIP() << "Wine's stubs only; it would switch a real display";
    auto& m = OvModule::Get();
    const int logged = LoggedFailures();

    EXPECT_STREQ(m.RASEntries(), "");
    const char* list = m.RASList();
    EXPECT_STREQ(list, "");
    EXPECT_EQ(m.RASList(), list);
    EXPECT_EQ(m.RASActive("Office"), 0);
    EXPECT_EQ(m.RASActive(""), 1);
    EXPECT_EQ(m.Wait(m.RASHangUp("")), "0");
    EXPECT_EQ(m.Wait(m.RASHangUp("Office")), "0");
    const short slot = m.RASDial("Office", "CORP", "alice", "s3cret");
    EXPECT_EQ(slot, 0);
    const std::string dialled = m.Wait(slot);
    EXPECT_EQ(dialled, "-1");
    EXPECT_EQ(m.Wait(m.RASDial("@0123456", "", "", "")), dialled);
    EXPECT_EQ(m.RASActive("Office"), 0);
    EXPECT_STREQ(m.RASList(), "");
    EXPECT_EQ(m.Wait(m.RASHangUp("")), "0");

    // The current mode again, temporarily; then size only; then back to the default.
    DEVMODEA current{};
    current.dmSize = sizeof current;
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current));
    const std::string before = m.DisplayResList(-1);
    EXPECT_EQ(m.DisplaySetRes(current.dmPelsWidth, current.dmPelsHeight, current.dmBitsPerPel,
                              current.dmDisplayFrequency, 0),
              1);
    EXPECT_EQ(m.DisplaySetRes(current.dmPelsWidth, current.dmPelsHeight, -1, -1, 0), 1);
    EXPECT_EQ(m.DisplaySetRes(-1, -1, -1, -1, 1), 1);
    EXPECT_EQ(m.DisplayResList(-1), before);
    EXPECT_EQ(m.DisplaySetRes(12345, 6789, 32, 60, 0), 0);

    EXPECT_EQ(LoggedFailures(), logged);
}
