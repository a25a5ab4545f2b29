// Which table of platform calls a subsystem uses: the system's own, unless a
// test has put a simulated one in its place. A table lists its calls once, as
// OV_<SUB>_CALLS(X); its members are named after the Win32 calls they hold and
// typed as their declarations, and it defines its system calls as
// Table::kSystem.
#pragma once

#include <atomic>

// A table's member for a call.
#define OV_PLATFORM_MEMBER(call) decltype(&::call) call;
// The system's entry for a call that the module imports.
#define OV_SYSTEM_CALL(call) &::call,

namespace ov {

template <class Table> class PlatformBinding {
  public:
    explicit constexpr PlatformBinding(const Table& system)
        : m_system(&system), m_active(&system) {}

    const Table& Get() const { return *m_active.load(std::memory_order_acquire); }
    // Null puts the system's table back.
    void Replace(const Table* table) {
        m_active.store(table ? table : m_system, std::memory_order_release);
    }

  private:
    const Table* m_system;
    std::atomic<const Table*> m_active;
};

template <class Table> inline PlatformBinding<Table> g_platformBinding{Table::kSystem};

// The table in use.
template <class Table> const Table& Platform() { return g_platformBinding<Table>.Get(); }

// Tests only: puts a table in place; null brings back the system's.
template <class Table> void SetPlatformForTesting(const Table* table) {
    g_platformBinding<Table>.Replace(table);
}

} // namespace ov
