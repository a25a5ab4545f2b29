#include "print/print_platform.h"

#include "core/platform_binding.h"
#include "core/system_library.h"

namespace ov {
namespace {

SystemLibrary g_winspool{"winspool.drv"};

// Without winspool or one of its functions a call fails as the spooler's own
// would, so the job reports the step it could not take.
const PrintPlatform kSystem = {
    OV_LATE_BOUND(g_winspool, OpenPrinterA, 0),     OV_LATE_BOUND(g_winspool, StartDocPrinterA, 0),
    OV_LATE_BOUND(g_winspool, StartPagePrinter, 0), OV_LATE_BOUND(g_winspool, WritePrinter, 0),
    OV_LATE_BOUND(g_winspool, EndPagePrinter, 0),   OV_LATE_BOUND(g_winspool, EndDocPrinter, 0),
    OV_LATE_BOUND(g_winspool, ClosePrinter, 0),
};

PlatformBinding<PrintPlatform> g_active{kSystem};

} // namespace

const PrintPlatform& Print() { return g_active.Get(); }

void SetPrintForTesting(const PrintPlatform* table) { g_active.Replace(table); }

SystemLibrary& SpoolerLibrary() { return g_winspool; }

} // namespace ov
