// x64: the guard is a small function whose unwind data names a handler of its
// own. The system consults it only for exceptions that pass through that
// function's frame, so nothing is registered on the thread or in the process.
#include "core/fault_guard.h"

#include <windows.h>

#include <cstdlib>

extern "C" {
// Calls fn(context) and returns true; after a fault the handler unwinds to
// ov_guard_resume with 0 in rax, and the call returns false.
bool ov_guarded_call(void (*fn)(void*), void* context);
void ov_guard_resume();
EXCEPTION_DISPOSITION ov_guard_handler(EXCEPTION_RECORD* record, void* establisher,
                                       CONTEXT* context, DISPATCHER_CONTEXT* dispatch);
}

// The call must not be the frame's last instruction: a return address inside
// the epilogue would make the unwinder take the frame as already leaving.
asm(R"(
    .text
    .p2align 4
    .globl ov_guarded_call
    .def ov_guarded_call; .scl 2; .type 32; .endef
    .seh_proc ov_guarded_call
ov_guarded_call:
    subq $40, %rsp
    .seh_stackalloc 40
    .seh_handler ov_guard_handler, @except
    .seh_endprologue
    movq %rcx, %rax
    movq %rdx, %rcx
    call *%rax
    movl $1, %eax
    .globl ov_guard_resume
ov_guard_resume:
    addq $40, %rsp
    ret
    .seh_endproc
)");

extern "C" EXCEPTION_DISPOSITION ov_guard_handler(EXCEPTION_RECORD* record, void* establisher,
                                                  CONTEXT*, DISPATCHER_CONTEXT* dispatch) {
    if (IS_UNWINDING(record->ExceptionFlags)) return ExceptionContinueSearch;
    if (!ov::IsGuardedFault(record->ExceptionCode)) return ExceptionContinueSearch;
    // Run the unwind handlers of the frames between the fault and the guard,
    // then continue at the resume label with a return value of 0.
    RtlUnwindEx(establisher, reinterpret_cast<void*>(&ov_guard_resume), record, nullptr,
                dispatch->ContextRecord, dispatch->HistoryTable);
    std::abort(); // RtlUnwindEx does not come back
}

namespace ov {

bool RunGuarded(void (*fn)(void*), void* context) { return ov_guarded_call(fn, context); }

} // namespace ov
