// The real remote access service, as Wine gives it: no phone book entries, no
// connections, dials that make no connection.
#include <gtest/gtest.h>

#include <string>

#include "support/ov_module.h"

namespace {
const char* const kTraces[] = {"COvDEvedApp::RASEntries", "COvDEvedApp::RASList",
                               "COvDEvedApp::RASActive", "COvDEvedApp::RASDial",
                               "COvDEvedApp::RASHangUp"};

int LoggedFailures() {
    int lines = 0;
    for (const char* trace : kTraces)
        lines += CountLogLines(trace);
    return lines;
}
} // namespace

TEST(DialupSystem, ListsAreEmpty) {
    auto& m = OvModule::Get();
    const int logged = LoggedFailures();
    EXPECT_STREQ(m.RASEntries(), "");
    const char* list = m.RASList();
    EXPECT_STREQ(list, "");
    EXPECT_EQ(m.RASList(), list);
    EXPECT_EQ(m.RASActive("Office"), 0);
    EXPECT_EQ(m.RASActive(""), 1);
    EXPECT_EQ(LoggedFailures(), logged);
}

TEST(DialupSystem, DialEndsWithoutAConnection) {
    auto& m = OvModule::Get();
    const int logged = LoggedFailures();
    const short slot = m.RASDial("Office", "CORP", "alice", "s3cret");
    EXPECT_EQ(slot, 0);
    const std::string text = m.Wait(slot);
    EXPECT_EQ(text, "-1");
    EXPECT_EQ(m.Wait(m.RASDial("@0123456", "", "", "")), text);
    EXPECT_EQ(m.RASActive("Office"), 0);
    EXPECT_STREQ(m.RASList(), "");
    EXPECT_EQ(LoggedFailures(), logged);
}

TEST(DialupSystem, HangUpEndsAsZero) {
    auto& m = OvModule::Get();
    const int logged = LoggedFailures();
    EXPECT_EQ(m.Wait(m.RASHangUp("")), "0");
    EXPECT_EQ(m.Wait(m.RASHangUp("Office")), "0");
    m.Wait(m.RASDial("Office", "", "", ""));
    EXPECT_EQ(m.Wait(m.RASHangUp("")), "0");
    EXPECT_EQ(LoggedFailures(), logged);
}

TEST(DialupSystem, ManyHangUpsEndTheirThreads) {
    // Each hang-up ends through its message loop; none may linger or hold a slot.
    auto& m = OvModule::Get();
    for (int i = 0; i < 40; ++i) {
        const short slot = m.RASHangUp(i % 2 ? "" : "Office");
        ASSERT_EQ(slot, 0);
        ASSERT_EQ(m.Wait(slot), "0");
    }
}
