// x86: the guard is a frame on the thread's fs:[0] registration chain.
#include "core/fault_guard.h"

#include <windows.h>

#include <intrin.h>

namespace ov {
namespace {

struct GuardFrame {
    EXCEPTION_REGISTRATION_RECORD registration; // must come first: fs:[0] points here
    void* resume[5];                            // __builtin_setjmp buffer
};

EXCEPTION_DISPOSITION NTAPI OnException(EXCEPTION_RECORD* record, void* establisher, CONTEXT*,
                                        void*) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    if (!IsGuardedFault(record->ExceptionCode)) return ExceptionContinueSearch;
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
