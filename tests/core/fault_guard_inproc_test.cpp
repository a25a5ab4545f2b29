#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <stdexcept>

#include "core/fault_guard.h"

#if defined(__i386__)
#include <intrin.h>
#endif

namespace {

// What a guard could leave behind on the thread: on x86 the head of the
// fs:[0] handler chain. The x64 guard has no per-thread state at all (its
// handler lives in the unwind data), so there is nothing to compare there.
std::uintptr_t ThreadHandlerChainHead() {
#if defined(__i386__)
    return __readfsdword(0);
#else
    return 0;
#endif
}

volatile int g_zero = 0;

} // namespace

TEST(FaultGuard, TurnsProcessorFaultsIntoFailure) {
    struct Case {
        const char* name;
        void (*fault)();
    };
    const Case cases[] = {
        {"read through a bad pointer",
         [] {
             volatile int* volatile bad = reinterpret_cast<int*>(0x10);
             (void)*bad;
         }},
        {"write through a null pointer",
         [] {
             volatile int* volatile bad = nullptr;
             *bad = 1;
         }},
        {"integer division by zero", [] { g_zero = 7 / g_zero; }},
        {"integer remainder by zero", [] { g_zero = 7 % g_zero; }},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(ov::RunGuarded(c.fault)) << c.name;
    EXPECT_TRUE(ov::RunGuarded([] {}));
}

TEST(FaultGuard, TakesProcessorFaultsOnly) {
    for (DWORD code :
         {EXCEPTION_ACCESS_VIOLATION, EXCEPTION_INT_DIVIDE_BY_ZERO, EXCEPTION_INT_OVERFLOW,
          EXCEPTION_ILLEGAL_INSTRUCTION, EXCEPTION_PRIV_INSTRUCTION, EXCEPTION_IN_PAGE_ERROR,
          EXCEPTION_FLT_DIVIDE_BY_ZERO, EXCEPTION_DATATYPE_MISALIGNMENT})
        EXPECT_TRUE(ov::IsGuardedFault(code)) << std::hex << code;
    // Debugger traps, stack overflow, C++ throws and user-raised codes belong to others.
    for (DWORD code :
         {DWORD(EXCEPTION_BREAKPOINT), DWORD(EXCEPTION_SINGLE_STEP),
          DWORD(EXCEPTION_STACK_OVERFLOW), DWORD(EXCEPTION_GUARD_PAGE), DWORD(CONTROL_C_EXIT),
          DWORD(0x20474343) /* GCC throw */, DWORD(0xE06D7363) /* MSVC throw */, DWORD(0xE0000001)})
        EXPECT_FALSE(ov::IsGuardedFault(code)) << std::hex << code;
}

TEST(FaultGuard, PassesCppExceptionsOnAndNestsCleanly) {
    EXPECT_THROW(ov::RunGuarded([] { throw std::runtime_error("x"); }), std::runtime_error);
    bool innerCaught = false;
    bool wentOn = false;
    EXPECT_TRUE(ov::RunGuarded([&] {
        int* volatile bad = nullptr;
        innerCaught = !ov::RunGuarded([&] { *bad = 1; });
        wentOn = true;
    }));
    EXPECT_TRUE(innerCaught);
    EXPECT_TRUE(wentOn);
    // After an inner guard took a fault, the next fault in the outer body is
    // the outer guard's: nothing of the inner one is left to intercept it.
    wentOn = false;
    EXPECT_FALSE(ov::RunGuarded([&] {
        int* volatile bad = nullptr;
        innerCaught = !ov::RunGuarded([&] { *bad = 1; });
        wentOn = true;
        *bad = 2;
    }));
    EXPECT_TRUE(innerCaught);
    EXPECT_TRUE(wentOn);
    // Nothing stays registered on the thread: its own handlers see later faults.
    const std::uintptr_t before = ThreadHandlerChainHead();
    ov::RunGuarded([] {});
    EXPECT_EQ(ThreadHandlerChainHead(), before);
    ov::RunGuarded([] {
        int* volatile bad = reinterpret_cast<int*>(1);
        *bad = 2;
    });
    EXPECT_EQ(ThreadHandlerChainHead(), before);
}

TEST(FaultGuard, FaultInsideSystemCodeIsCaught) {
    // lstrlenA and IsBadReadPtr handle their own faults; strlen in the C runtime does not.
    const char* volatile bad = reinterpret_cast<const char*>(0x20);
    volatile std::size_t n = 0;
    volatile BOOL unreadable = FALSE;
    EXPECT_FALSE(ov::RunGuarded([&] { n = std::strlen(bad); }));
    EXPECT_TRUE(ov::RunGuarded([&] { n = lstrlenA(bad); })) << "inner handlers come first";
    EXPECT_TRUE(ov::RunGuarded([&] { unreadable = IsBadReadPtr(bad, 4); }))
        << "inner handlers come first";
    EXPECT_TRUE(unreadable);
}
