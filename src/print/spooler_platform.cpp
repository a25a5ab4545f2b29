#include "print/spooler_platform.h"

#include <atomic>

namespace ov {
namespace {

const SpoolerPlatform kSystemSpooler{
    &OpenPrinterA,   &StartDocPrinterA, &StartPagePrinter, &WritePrinter,
    &EndPagePrinter, &EndDocPrinter,    &ClosePrinter,
};

std::atomic<const SpoolerPlatform*> g_spooler{&kSystemSpooler};

} // namespace

const SpoolerPlatform& Spooler() {
    return *g_spooler.load(std::memory_order_acquire);
}

void SetSpoolerForTesting(const SpoolerPlatform* spooler) {
    g_spooler.store(spooler ? spooler : &kSystemSpooler, std::memory_order_release);
}

} // namespace ov
