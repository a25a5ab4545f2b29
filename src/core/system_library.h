// A system DLL that only some exports need, loaded from the system folder on
// their first use instead of through the import table: no file planted beside
// the host can stand in for it, and a system without it loses only the exports
// that need it.
#pragma once

#include <windows.h>

#include <atomic>
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

} // namespace ov
