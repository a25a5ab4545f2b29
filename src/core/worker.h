// Base of the request workers: a thread object that owns one operation slot.
#pragma once

#include <memory>
#include <string>

#include "core/afx.h"
#include "core/slots.h"

class CSlotWorker : public CWinThread {
  public:
    COperationSlot* m_pSlot = nullptr;

  protected:
    // Keeps the request's final text and returns FALSE, so that
    // "return FinishRequest(text);" ends InitInstance and the thread.
    BOOL FinishRequest(std::string text);
    // The same for a worker that ends through its message loop.
    void SetFinalText(std::string text);

  private:
    // The worker is deleted first, and only then is its text published and
    // the slot's active flag cleared: once a caller sees the request end,
    // the thread holds no lock and makes no allocation on its way out, so a
    // host that exits at that moment cannot be left waiting. A job that ended
    // abnormally leaves the text as it stands.
    void EndThreadObject(std::unique_ptr<CWinThread> self) override;

    std::string m_strFinal;
    bool m_bHasFinal = false;
};

// Declares a worker class creatable by name; class_name() gives that name.
#define DECLARE_WORKER(class_name_)                                                                \
    DECLARE_DYNCREATE(class_name_)                                                                 \
    static const char* class_name() { return #class_name_; }
