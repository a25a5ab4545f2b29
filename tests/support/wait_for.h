// Waiting in tests, the same way everywhere: WaitFor polls a condition until
// a deadline and fails the test naming what it waited for; the slot waits
// build on it for the loaded DLL (OvModule) and the in-process application
// object alike. A request that does not end before the deadline is left
// uncollected.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

inline constexpr DWORD kSlotDeadlineMs = 60000;

// True once condition() holds; false, after failing the test, when it still
// does not after deadlineMs.
template <class Condition>
bool WaitFor(Condition&& condition, DWORD deadlineMs, const std::string& what) {
    const DWORD start = GetTickCount();
    for (DWORD polls = 0; !condition(); ++polls) {
        if (GetTickCount() - start > deadlineMs) {
            ADD_FAILURE() << "waited " << deadlineMs << " ms for " << what;
            return false;
        }
        Sleep(polls < 100 ? 0 : 1);
    }
    return true;
}

template <class Module>
bool WaitUntilInactive(Module& module, short slot, DWORD timeoutMs = kSlotDeadlineMs) {
    return WaitFor([&] { return !module.IsActive(slot); }, timeoutMs,
                   "slot " + std::to_string(slot) + " to end");
}

template <class Module>
std::string WaitForSlot(Module& module, short slot, DWORD timeoutMs = kSlotDeadlineMs) {
    if (slot < 0) {
        ADD_FAILURE() << "the request got no slot (" << slot << ")";
        return "<no slot>";
    }
    if (!WaitUntilInactive(module, slot, timeoutMs))
        return "<slot " + std::to_string(slot) + " still active>";
    return module.GetData(slot);
}
