// Waiting for a slot-based request, the same way in every test and for the
// loaded DLL (OvModule) and the in-process application object alike: poll
// until the slot is no longer active, then collect its text. A request that
// does not end before the deadline fails the test naming the slot, and is
// left uncollected.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

inline constexpr DWORD kSlotDeadlineMs = 60000;

// False, after failing the test, when the slot is still active at the deadline.
template <class Module>
bool WaitUntilInactive(Module& module, short slot, DWORD timeoutMs = kSlotDeadlineMs) {
    const DWORD start = GetTickCount();
    for (DWORD polls = 0; module.IsActive(slot); ++polls) {
        if (GetTickCount() - start > timeoutMs) {
            ADD_FAILURE() << "slot " << slot << " still active after " << timeoutMs << " ms";
            return false;
        }
        Sleep(polls < 100 ? 0 : 1);
    }
    return true;
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
