#include <gtest/gtest.h>

#include "support/ov_module.h"

TEST(Slots, FirstRequestGetsSlotZero) {
    auto& m = OvModule::Get();
    ScratchDir dir;
    WriteTextFile(dir / "a.txt", "hello");
    const short slot = m.FileCopy((dir / "a.txt").c_str(), (dir / "b.txt").c_str(), 0, 1);
    EXPECT_EQ(slot, 0);
    EXPECT_EQ(m.Wait(slot), "1");
    EXPECT_EQ(ReadTextFile(dir / "b.txt"), "hello");
}
