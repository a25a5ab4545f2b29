// The print spooler as the printing job reaches it: the seven Win32 calls a
// raw job needs, bound by default to winspool, which is loaded on first use.
// Tests put a simulated spooler here to drive every failure path.
#pragma once

#include <windows.h>
#include <winspool.h>

namespace ov {

class SystemLibrary;

struct PrintPlatform {
    decltype(&::OpenPrinterA) OpenPrinterA;
    decltype(&::StartDocPrinterA) StartDocPrinterA;
    decltype(&::StartPagePrinter) StartPagePrinter;
    decltype(&::WritePrinter) WritePrinter;
    decltype(&::EndPagePrinter) EndPagePrinter;
    decltype(&::EndDocPrinter) EndDocPrinter;
    decltype(&::ClosePrinter) ClosePrinter;
};

// The table in use: the system's calls unless a test has put its own in place.
const PrintPlatform& Print();
// Tests only: puts a table in place; null brings back the system's.
void SetPrintForTesting(const PrintPlatform* table);
// winspool.drv, loaded from the system folder on first use; tests may rename it.
SystemLibrary& SpoolerLibrary();

} // namespace ov
