// PrintLine through the DLL with Wine's own spooler.
#include <gtest/gtest.h>

#include <string>

#include "support/ov_module.h"

TEST(PrintLine, AnUnknownPrinterLeavesMinusTwo) {
    auto& ov = OvModule::Get();
    const int logged = CountLogLines("COvDEvedApp::PrintLine");
    const short slot = ov.PrintLine("No Such Printer OvDurAru", "text\r\n");
    ASSERT_GE(slot, 0);
    EXPECT_EQ(ov.Wait(slot), "-2");
    EXPECT_EQ(CountLogLines("COvDEvedApp::PrintLine"), logged);
}

TEST(PrintLine, AnOverlongPrinterNameLeavesMinusTwo) {
    auto& ov = OvModule::Get();
    const std::string name(300, 'P');
    const short slot = ov.PrintLine(name.c_str(), "text");
    ASSERT_GE(slot, 0);
    EXPECT_EQ(ov.Wait(slot), "-2");
}

TEST(PrintLine, WithEverySlotBusyTheRequestIsRefused) {
    auto& ov = OvModule::Get();
    ov.CollectAll();
    // Finished but uncollected requests keep their slots.
    for (short expected = 0; expected < 30; ++expected)
        ASSERT_EQ(ov.PrintLine("No Such Printer OvDurAru", "x"), expected);
    EXPECT_EQ(ov.PrintLine("No Such Printer OvDurAru", "x"), -1);
    for (short slot = 0; slot < 30; ++slot)
        EXPECT_EQ(ov.Wait(slot), "-2");
}
