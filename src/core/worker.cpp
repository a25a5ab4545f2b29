#include "core/worker.h"

#include <utility>

BOOL CSlotWorker::FinishRequest(std::string text) {
    SetFinalText(std::move(text));
    return FALSE;
}

void CSlotWorker::SetFinalText(std::string text) {
    m_strFinal = std::move(text);
    m_bHasFinal = true;
}

void CSlotWorker::EndThreadObject(std::unique_ptr<CWinThread> self) {
    COperationSlot* const slot = m_pSlot;
    std::string text = m_bHasFinal ? std::move(m_strFinal) : (slot ? slot->Text() : std::string());
    self.reset(); // no member is touched after this
    if (slot) slot->Finish(std::move(text));
}
