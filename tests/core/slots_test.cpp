// The slot protocol through the real DLL: numbering, reuse, exhaustion and
// the out-of-range answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ov_module.h"
#include "support/wait_for.h"

namespace {

// A request that finishes at once and then holds its slot until collected.
short QuickRequest(const OvModule& m, const ScratchDir& dir) {
    return m.FileCopy((dir / "missing").c_str(), (dir / "out").c_str(), 0, 0);
}

// An export called through a pointer of another prototype, as a runtime might declare it.
template <class F> F ExportAs(const char* name) {
    return reinterpret_cast<F>(
        reinterpret_cast<void*>(GetProcAddress(OvModule::Get().handle, name)));
}

} // namespace

TEST(CoreSlots, LowestFreeSlotIsClaimedAndReused) {
    auto& m = OvModule::Get();
    ScratchDir dir;
    EXPECT_EQ(QuickRequest(m, dir), 0);
    EXPECT_EQ(QuickRequest(m, dir), 1);
    EXPECT_EQ(QuickRequest(m, dir), 2);
    ASSERT_TRUE(WaitUntilInactive(m, 0));
    EXPECT_EQ(m.IsActive(0), 0) << "a finished request reads inactive";
    EXPECT_EQ(QuickRequest(m, dir), 3) << "a finished, uncollected slot is not free";
    EXPECT_STREQ(m.GetData(1), "-1");
    EXPECT_EQ(QuickRequest(m, dir), 1) << "the collected slot is claimed first";
    m.CollectAll();
}

TEST(CoreSlots, ThirtyFirstRequestGetsMinusOneUntilOneIsCollected) {
    auto& m = OvModule::Get();
    ScratchDir dir;
    for (short i = 0; i < 30; ++i)
        ASSERT_EQ(QuickRequest(m, dir), i);
    EXPECT_EQ(QuickRequest(m, dir), -1);
    EXPECT_EQ(m.FileCopy("a", "b", 0, 0), -1);
    ASSERT_TRUE(WaitUntilInactive(m, 17));
    m.GetData(17);
    EXPECT_EQ(QuickRequest(m, dir), 17);
    EXPECT_EQ(QuickRequest(m, dir), -1);
    m.CollectAll();
    for (short i = 0; i < 30; ++i)
        EXPECT_EQ(QuickRequest(m, dir), i) << "no slot lost";
    m.CollectAll();
}

TEST(CoreSlots, OutOfRangeSlotNumbers) {
    auto& m = OvModule::Get();
    for (short s : {short(-1), short(30), short(-32768), short(32767)}) {
        EXPECT_EQ(m.IsActive(s), 0);
        EXPECT_STREQ(m.GetData(s), "0");
    }
    // The constant "0" is not the GetData buffer, which keeps its text.
    ScratchDir dir;
    const short slot = QuickRequest(m, dir);
    const std::string first = m.Wait(slot);
    const char* buffer = m.GetData(slot);
    const char* constant = m.GetData(30);
    EXPECT_NE(buffer, constant);
    EXPECT_EQ(std::string(buffer), first);
}

TEST(CoreSlots, GetDataTwiceAndOnUnusedSlot) {
    auto& m = OvModule::Get();
    EXPECT_STREQ(m.GetData(5), "") << "never used since loading";
    ScratchDir dir;
    const short slot = QuickRequest(m, dir);
    EXPECT_EQ(m.Wait(slot), "-1");
    const char* again = m.GetData(slot);
    EXPECT_STREQ(again, "-1");
    EXPECT_EQ(again, m.GetData(slot)) << "the same buffer every time";
}

TEST(CoreSlots, SixteenBitArgumentsUseTheirLowHalfOnly) {
    auto& m = OvModule::Get();
    // The runtime may push full 32-bit values: only the low 16 bits count.
    auto isActive = ExportAs<short(__cdecl*)(int)>("IsActive");
    auto getData = ExportAs<const char*(__cdecl*)(int)>("GetData");
    auto fileCopy = ExportAs<short(__cdecl*)(const char*, const char*, int, int)>("FileCopy");
    ScratchDir dir;
    WriteTextFile(dir / "src.txt", "new");
    WriteTextFile(dir / "dst.txt", "old");
    // 65536 has a zero low half: fail-if-exists is off, so the copy replaces.
    const short slot = fileCopy((dir / "src.txt").c_str(), (dir / "dst.txt").c_str(), 65536, 0);
    ASSERT_EQ(slot, 0);
    EXPECT_EQ(m.Wait(slot), "1");
    EXPECT_EQ(ReadTextFile(dir / "dst.txt"), "new");

    ASSERT_EQ(QuickRequest(m, dir), 0);
    ASSERT_EQ(QuickRequest(m, dir), 1);
    ASSERT_EQ(QuickRequest(m, dir), 2);
    ASSERT_EQ(QuickRequest(m, dir), 3);
    ASSERT_TRUE(WaitUntilInactive(m, 3));
    EXPECT_STREQ(getData(65539), "-1");
    EXPECT_EQ(QuickRequest(m, dir), 3) << "65539 collected slot 3";
    EXPECT_EQ(isActive(65535), 0) << "65535 is -1, out of range";
    EXPECT_STREQ(getData(65535), "0");
    m.CollectAll();
}

TEST(CoreExports, EveryExportResolvesByNameAndOrdinalInAlphabeticalOrder) {
    auto& m = OvModule::Get();
    const std::vector<std::string> names(std::begin(kExportNames), std::end(kExportNames));
    ASSERT_EQ(names.size(), 29u);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            EXPECT_LT(names[i - 1], names[i]);
        }
        FARPROC byName = GetProcAddress(m.handle, names[i].c_str());
        FARPROC byOrdinal = GetProcAddress(m.handle, MAKEINTRESOURCEA(i + 1));
        ASSERT_NE(byName, nullptr) << names[i];
        EXPECT_EQ(byName, byOrdinal) << names[i];
    }
    EXPECT_EQ(GetProcAddress(m.handle, MAKEINTRESOURCEA(30)), nullptr);
}
