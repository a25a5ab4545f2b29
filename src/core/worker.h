// Base of the request workers: a thread object that owns one operation slot.
#pragma once

#include <string>

#include "core/afx.h"
#include "core/slots.h"

class CSlotWorker : public CWinThread {
  public:
    COperationSlot* m_pSlot = nullptr;

  protected:
    // Writes the final text into the slot, clears its active flag, ends the
    // thread and deletes the worker.
    [[noreturn]] void FinishRequest(const std::string& text);

  private:
    // A job that ends abnormally still leaves its slot inactive, with its text as it stands.
    void OnAbnormalEnd() override;
};

// Declares a worker class creatable by name; class_name() gives that name.
#define DECLARE_WORKER(class_name_)                                                                \
    DECLARE_DYNCREATE(class_name_)                                                                 \
    static const char* class_name() { return #class_name_; }
