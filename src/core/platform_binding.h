// Which table of platform calls a subsystem uses: the system's own, unless a
// test has put a simulated one in its place.
#pragma once

#include <atomic>

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

} // namespace ov
