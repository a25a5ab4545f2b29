// Turns a processor fault (an access violation from a bad pointer, say) raised
// inside a guarded call into an ordinary failure of that call. The guard lives
// only in the guarded call's own stack frame (x86: a registration on the
// thread's fs:[0] chain; x64: a handler in the function's unwind data):
// faults outside guarded calls, and faults that inner code handles itself,
// reach their handlers untouched, and nothing stays behind on the thread.
#pragma once

#include <exception>
#include <type_traits>
#include <utility>

namespace ov {

// The exception codes the guard takes: processor faults only. Breakpoints,
// stack overflow, C++ and user exceptions belong to others.
bool IsGuardedFault(unsigned long code);

// Runs fn(context). Returns false when a processor fault ended it. A C++
// exception thrown by fn is passed on to the caller after the guard is gone.
// Objects with destructors that were alive between the guard and a fault are
// abandoned, not destroyed: guarded code must not hold locks while it touches
// memory it does not own.
bool RunGuarded(void (*fn)(void*), void* context);

template <class Fn> bool RunGuarded(Fn&& fn) {
    struct Call {
        std::remove_reference_t<Fn>* fn;
        std::exception_ptr error;
    } call{&fn, nullptr};
    const bool completed = RunGuarded(
        [](void* p) {
            auto* c = static_cast<Call*>(p);
            try {
                (*c->fn)();
            } catch (...) {
                c->error = std::current_exception();
            }
        },
        &call);
    if (call.error) std::rethrow_exception(call.error);
    return completed;
}

} // namespace ov
