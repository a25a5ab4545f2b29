// The print spooler as the printing job reaches it: the seven Win32 calls a
// raw job needs, bound by default to winspool, which is loaded on first use.
// Tests put a simulated spooler here to drive every failure path.
#pragma once

#include <windows.h>
#include <winspool.h>

#include "core/platform_binding.h"

namespace ov {

class SystemLibrary;

// clang-format off
#define OV_PRINT_CALLS(X)                                                                          \
    X(OpenPrinterA) X(StartDocPrinterA) X(StartPagePrinter) X(WritePrinter)                        \
    X(EndPagePrinter) X(EndDocPrinter) X(ClosePrinter)
// clang-format on

struct PrintPlatform {
    OV_PRINT_CALLS(OV_PLATFORM_MEMBER)
    static const PrintPlatform kSystem;
};

inline const PrintPlatform& Print() { return Platform<PrintPlatform>(); }
// winspool.drv, loaded from the system folder on first use; tests may rename it.
SystemLibrary& SpoolerLibrary();

} // namespace ov
