#pragma once

#include <string>

#include "core/worker.h"

// Sends one text to a named printer as a raw spooler job named "TestDoc".
class CPrintLine : public CSlotWorker {
    DECLARE_WORKER(CPrintLine)
  public:
    // Result codes left in the slot.
    static constexpr short kPrinted = 1;
    static constexpr short kWriteFailed = 0;
    static constexpr short kOpenFailed = -2;
    static constexpr short kStartDocFailed = -3;
    static constexpr short kStartPageFailed = -4;
    static constexpr short kEndPageFailed = -5;
    static constexpr short kEndDocFailed = -6;
    // Longest printer name the spooler is asked to open.
    static constexpr std::size_t kMaxPrinterName = 259;

    BOOL Start(const char* printer, const char* text);
    BOOL InitInstance() override;
    static short PrintRaw(const std::string& printer, const std::string& text);

    std::string m_strPrinter;
    std::string m_strText;
};
