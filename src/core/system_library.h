// A system DLL that only some exports need, loaded from the system folder on
// their first use instead of through the import table: no file planted beside
// the host can stand in for it, and a system without it loses only the exports
// that need it.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <mutex>

namespace ov {

// Loads fileName from the system folder and from nowhere else; null when it
// is not there. Not under the loader lock: the module entry never calls it.
HMODULE LoadFromSystemFolder(const char* fileName);

class SystemLibrary {
  public:
    explicit constexpr SystemLibrary(const char* fileName) : m_fileName(fileName) {}
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The library, loaded on the first call from any thread and then kept
    // until the process ends; null when the system has none.
    HMODULE Module() const;

    // One of its functions; null when the library or the function is missing.
    // Looked up on every call: a lookup costs far less than any call made
    // through it, and a test may rename the library in between.
    template <class Fn> Fn Find(const char* name) const {
        HMODULE module = Module();
        FARPROC proc = module ? GetProcAddress(module, name) : nullptr;
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
    }

    // Tests only: the module asks for fileName instead, for instance one the
    // system folder does not have; null asks for the real library again.
    void RenameForTesting(const char* fileName) { m_testName.store(fileName); }

  private:
    const char* m_fileName;
    mutable std::once_flag m_loaded;
    mutable HMODULE m_module = nullptr;
    std::atomic<const char*> m_testName{nullptr};
};

// A function's name as a template argument.
template <std::size_t N> struct FunctionName {
    char text[N];
    constexpr FunctionName(const char (&name)[N]) { std::copy_n(name, N, text); }
};

// Calls Name in Library through Fn, the type of its declaration, so that the
// module imports nothing from the library. Without the library or the
// function a call fails as the library's own would: ERROR_PROC_NOT_FOUND as
// the last error and Missing as the answer.
template <SystemLibrary& Library, FunctionName Name, class Fn, auto Missing> struct LateBound;

template <SystemLibrary& Library, FunctionName Name, class R, class... A, auto Missing>
struct LateBound<Library, Name, R(WINAPI*)(A...), Missing> {
    static R WINAPI Call(A... args) {
        const auto call = Library.template Find<R(WINAPI*)(A...)>(Name.text);
        if (call) return call(args...);
        SetLastError(ERROR_PROC_NOT_FOUND);
        return static_cast<R>(Missing);
    }
};

} // namespace ov

// The late-bound entry of a platform table for function, a call of library.
#define OV_LATE_BOUND(library, function, missing)                                                  \
    (&::ov::LateBound<library, #function, decltype(&::function), missing>::Call)
