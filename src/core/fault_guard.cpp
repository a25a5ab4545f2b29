#include "core/fault_guard.h"

#include <windows.h>

#include <intrin.h>

namespace ov {
namespace {

struct GuardFrame {
    EXCEPTION_REGISTRATION_RECORD registration; // must come first: fs:[0] points here
    void* resume[5];                            // __builtin_setjmp buffer
};

bool IsProcessorFault(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
        return true;
    default: // breakpoints, stack overflow, C++ and user exceptions belong to others
        return false;
    }
}

EXCEPTION_DISPOSITION NTAPI OnException(EXCEPTION_RECORD* record, void* establisher, CONTEXT*,
                                        void*) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    if (!IsProcessorFault(record->ExceptionCode)) return ExceptionContinueSearch;
    // Let the frames between the fault and the guard run their unwind
    // handlers, then resume after the guarded call.
    RtlUnwind(establisher, nullptr, record, nullptr);
    __builtin_longjmp(static_cast<GuardFrame*>(establisher)->resume, 1);
}

EXCEPTION_REGISTRATION_RECORD* CurrentRegistration() {
    return reinterpret_cast<EXCEPTION_REGISTRATION_RECORD*>(__readfsdword(0));
}

void SetCurrentRegistration(EXCEPTION_REGISTRATION_RECORD* r) {
    __writefsdword(0, reinterpret_cast<DWORD>(r));
}

} // namespace

__attribute__((noinline)) bool RunGuarded(void (*fn)(void*), void* context) {
    GuardFrame frame{};
    frame.registration.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(&OnException);
    frame.registration.Next = CurrentRegistration();
    if (__builtin_setjmp(frame.resume) != 0) {
        // Resumed after a fault; the unwind left our registration on top.
        SetCurrentRegistration(frame.registration.Next);
        return false;
    }
    SetCurrentRegistration(&frame.registration);
    fn(context);
    SetCurrentRegistration(frame.registration.Next);
    return true;
}

} // namespace ov
