#include <gtest/gtest.h>

#include "core/fault_guard.h"

TEST(FaultGuard, TurnsAccessViolationIntoFailure) {
    volatile int* bad = reinterpret_cast<int*>(0x10);
    EXPECT_FALSE(ov::RunGuarded([&] { (void)*bad; }));
    EXPECT_TRUE(ov::RunGuarded([] {}));
}
