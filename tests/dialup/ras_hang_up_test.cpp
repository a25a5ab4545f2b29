// Hang-up workers through the DLL, on the system's remote access service.
#include <gtest/gtest.h>

#include "support/ov_module.h"

TEST(DialupSystem, ManyHangUpsEndTheirThreads) {
    // Each hang-up ends through its message loop; none may linger or hold a slot.
    auto& m = OvModule::Get();
    for (int i = 0; i < 40; ++i) {
        const short slot = m.RASHangUp(i % 2 ? "" : "Office");
        ASSERT_EQ(slot, 0);
        ASSERT_EQ(m.Wait(slot), "0");
    }
}
