#include "core/slots.h"

#include "core/result_buffer.h"

void COperationSlot::Finish(std::string text) {
    {
        const std::lock_guard<std::mutex> lock(m_textLock);
        m_strResult.swap(text);
    }
    std::string().swap(text);
    m_nActive.store(0, std::memory_order_release);
}

void COperationSlot::SetText(const std::string& text) {
    const std::lock_guard<std::mutex> lock(m_textLock);
    m_strResult = text;
}

std::string COperationSlot::Text() const {
    const std::lock_guard<std::mutex> lock(m_textLock);
    return m_strResult;
}

int COperationSlotTable::Claim() {
    for (int i = 0; i < kSlotCount; ++i) {
        COperationSlot& slot = m_slots[i];
        LONG expected = 0;
        // The in-use flag is taken first and atomically: of two claimers only one wins.
        if (!slot.m_nInUse.compare_exchange_strong(expected, 1)) continue;
        if (slot.m_nActive.load(std::memory_order_acquire) != 0) {
            // Collected early: its worker still runs and the slot is not free yet.
            slot.m_nInUse.store(0);
            continue;
        }
        slot.m_nActive.store(1);
        return i;
    }
    return -1;
}

void COperationSlotTable::Release(int slot) {
    m_slots[slot].m_nActive.store(0, std::memory_order_release);
    m_slots[slot].m_nInUse.store(0);
}

void COperationSlotTable::Collect(int slot, char (&out)[256]) {
    COperationSlot& s = m_slots[slot];
    {
        const std::lock_guard<std::mutex> lock(s.m_textLock);
        ov::CopyCut(out, s.m_strResult.c_str());
    }
    // Only the in-use flag is cleared here: a running worker still owns the
    // slot until it clears the active flag itself.
    s.m_nInUse.store(0);
}

void COperationSlotTable::Reset() {
    for (COperationSlot& slot : m_slots) {
        slot.SetText(std::string());
        slot.m_nActive.store(0);
        slot.m_nInUse.store(0);
    }
}
