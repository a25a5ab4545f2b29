#include "core/worker.h"

void CSlotWorker::FinishRequest(const std::string& text) {
    m_pSlot->Finish(text);
    AfxEndThread(0, TRUE);
}

void CSlotWorker::OnAbnormalEnd() {
    if (m_pSlot && m_pSlot->IsActive()) m_pSlot->Finish(m_pSlot->Text());
}
