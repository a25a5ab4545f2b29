// The table of 30 operation slots through which slot-based requests hand
// their answers to the caller.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <mutex>
#include <string>

// One operation slot. Free when both flags are 0; claimed (both 1) while its
// worker starts and runs; finished (active 0, in use 1) until collected.
class COperationSlot {
  public:
    // Publishes the final text: the text first, then the active flag cleared
    // with release order, so a caller that reads 0 finds the text in place.
    // The text the slot held before is released before the flag is cleared.
    void Finish(std::string text);
    void SetText(const std::string& text);
    std::string Text() const;

    bool IsActive() const { return m_nActive.load(std::memory_order_acquire) != 0; }
    bool IsFree() const { return m_nActive.load() == 0 && m_nInUse.load() == 0; }

  private:
    friend class COperationSlotTable;
    std::atomic<LONG> m_nActive{0};
    std::atomic<LONG> m_nInUse{0};
    mutable std::mutex m_textLock; // the worker never writes while GetData reads
    std::string m_strResult;
};

class COperationSlotTable {
  public:
    static constexpr int kSlotCount = 30;

    // Claims the lowest free slot; -1 when none is free. Safe between threads.
    int Claim();
    // Sets both flags to 0.
    void Release(int slot);
    // Copies the slot's text into out (at most 254 characters) and collects the
    // slot. A slot whose worker still runs becomes free only when it finishes.
    void Collect(int slot, char (&out)[256]);
    // Returns the table to its start-up state.
    void Reset();

    COperationSlot& operator[](int slot) { return m_slots[slot]; }
    static bool InRange(int slot) { return slot >= 0 && slot < kSlotCount; }

  private:
    std::array<COperationSlot, kSlotCount> m_slots;
};
