#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <intrin.h>
#include <stdexcept>

#include "core/fault_guard.h"

TEST(FaultGuard, TurnsAccessViolationIntoFailure) {
    volatile int* volatile bad = reinterpret_cast<int*>(0x10);
    EXPECT_FALSE(ov::RunGuarded([&] { (void)*bad; }));
    EXPECT_TRUE(ov::RunGuarded([] {}));
}

TEST(FaultGuard, PassesCppExceptionsOnAndNestsCleanly) {
    EXPECT_THROW(ov::RunGuarded([] { throw std::runtime_error("x"); }), std::runtime_error);
    bool innerCaught = false;
    EXPECT_TRUE(ov::RunGuarded([&] {
        int* volatile bad = nullptr;
        innerCaught = !ov::RunGuarded([&] { *bad = 1; });
    }));
    EXPECT_TRUE(innerCaught);
    // Nothing stays registered on the thread: its own handlers see later faults.
    const unsigned long before = __readfsdword(0);
    ov::RunGuarded([] {});
    EXPECT_EQ(__readfsdword(0), before);
    ov::RunGuarded([] {
        int* volatile bad = reinterpret_cast<int*>(1);
        *bad = 2;
    });
    EXPECT_EQ(__readfsdword(0), before);
}

TEST(FaultGuard, FaultInsideSystemCodeIsCaught) {
    // lstrlenA handles its own faults; strlen in the C runtime does not.
    const char* volatile bad = reinterpret_cast<const char*>(0x20);
    volatile std::size_t n = 0;
    EXPECT_FALSE(ov::RunGuarded([&] { n = std::strlen(bad); }));
    EXPECT_TRUE(ov::RunGuarded([&] { n = lstrlenA(bad); })) << "inner handlers come first";
}
