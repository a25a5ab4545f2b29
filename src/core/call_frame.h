// The call frame every framed export method runs in: C++ exceptions and
// processor faults raised by the body end in one error-log line with the
// method's trace name and the method's failure value.
#pragma once

#include "core/error_log.h"
#include "core/fault_guard.h"

namespace ov {

// Runs body() and returns its result. On a failure returns failureValue as it
// stands then: the body may update it as it goes (a claimed slot, say).
template <class T, class Body>
T CallFrame(const char* traceName, const T& failureValue, Body&& body) {
    T result = failureValue;
    bool completed = false;
    try {
        completed = RunGuarded([&] { result = body(); });
    } catch (...) {
    }
    if (completed) return result;
    Err_Exception_Log(traceName);
    return failureValue;
}

} // namespace ov
