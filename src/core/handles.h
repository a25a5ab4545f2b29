// RAII owners for the platform's handles, so every early return closes them.
#pragma once

#include <windows.h>

#include <utility>

namespace ov {

// InvalidValue: besides null, the value that means "no handle" (-1 for files and searches).
template <class H, auto Close, LONG_PTR InvalidValue = 0> class UniqueHandleOf {
  public:
    UniqueHandleOf() = default;
    explicit UniqueHandleOf(H h) : m_h(h) {}
    UniqueHandleOf(UniqueHandleOf&& other) noexcept : m_h(other.release()) {}
    UniqueHandleOf& operator=(UniqueHandleOf&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandleOf(const UniqueHandleOf&) = delete;
    UniqueHandleOf& operator=(const UniqueHandleOf&) = delete;
    ~UniqueHandleOf() { reset(); }

    H get() const { return m_h; }
    explicit operator bool() const { return m_h != Invalid() && m_h != H{}; }
    H release() { return std::exchange(m_h, Invalid()); }
    void reset(H h = Invalid()) {
        if (*this) Close(m_h);
        m_h = h;
    }

  private:
    static H Invalid() { return reinterpret_cast<H>(InvalidValue); }
    H m_h = Invalid();
};

inline void CloseKernelHandle(HANDLE h) { CloseHandle(h); }

// Event, thread, token, process: null when absent.
using UniqueHandle = UniqueHandleOf<HANDLE, &CloseKernelHandle>;
// File opened with CreateFile: INVALID_HANDLE_VALUE when absent.
using UniqueFile = UniqueHandleOf<HANDLE, &CloseKernelHandle, -1>;

} // namespace ov
