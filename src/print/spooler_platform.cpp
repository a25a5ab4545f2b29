#include "print/spooler_platform.h"

#include "core/platform_binding.h"

namespace ov {
namespace {

const SpoolerPlatform kSystemSpooler{
    &OpenPrinterA,   &StartDocPrinterA, &StartPagePrinter, &WritePrinter,
    &EndPagePrinter, &EndDocPrinter,    &ClosePrinter,
};

PlatformBinding<SpoolerPlatform> g_spooler{kSystemSpooler};

} // namespace

const SpoolerPlatform& Spooler() { return g_spooler.Get(); }

void SetSpoolerForTesting(const SpoolerPlatform* spooler) { g_spooler.Replace(spooler); }

} // namespace ov
