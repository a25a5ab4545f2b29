// The call frame every framed export method runs in: C++ exceptions and
// processor faults raised by the body end in one error-log line with the
// method's trace name and the method's failure value.
#pragma once

#include "core/error_log.h"
#include "core/fault_guard.h"
#include "core/result_buffer.h"

// A trace name: the class and method joined by two colons.
#define OV_TRACE(class_, method) #class_ "::" #method
// The trace name of a method of the application object.
#define OV_APP_TRACE(method) OV_TRACE(COvDEvedApp, method)

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

// The frame of a text method: empties its result buffer, lets fill(buffer)
// write the answer, and returns the buffer, after a failure too, holding
// whatever was written by then.
template <class Fill>
const char* TextFrame(const char* traceName, ResultBuffer& buffer, Fill&& fill) {
    buffer[0] = '\0';
    CallFrame<bool>(traceName, false, [&] {
        fill(buffer);
        return true;
    });
    return buffer;
}

} // namespace ov
