// The handle of the connection that the latest dial made, kept for a hang-up
// without a name. Dials and hang-ups run on threads of their own, so it is
// only reached under a lock.
#pragma once

#include <windows.h>

#include <ras.h>

#include <cstdint>
#include <mutex>

namespace ov::ras {

class KeptConnection {
  public:
    using DialTicket = std::uint64_t;

    HRASCONN Get() const {
        const std::lock_guard lock(m_lock);
        return m_handle;
    }
    void Set(HRASCONN handle) {
        const std::lock_guard lock(m_lock);
        m_handle = handle;
    }
    // A dial begins: nothing is kept until its handle is known.
    DialTicket BeginDial() {
        const std::lock_guard lock(m_lock);
        m_handle = nullptr;
        return ++m_latestDial;
    }
    // Keeps a dial's handle, unless a later dial has begun since: the kept
    // handle is always that of the dial begun last, as when dials come one
    // after another.
    void Publish(DialTicket dial, HRASCONN handle) {
        const std::lock_guard lock(m_lock);
        if (dial == m_latestDial) m_handle = handle;
    }

  private:
    mutable std::mutex m_lock;
    HRASCONN m_handle = nullptr;
    DialTicket m_latestDial = 0;
};

} // namespace ov::ras
