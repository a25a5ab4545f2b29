#include "print/spooler_platform.h"

#include "core/platform_binding.h"
#include "core/system_library.h"

namespace ov {
namespace {

SystemLibrary g_winspool{"winspool.drv"};

// Without winspool or one of its functions a call fails as the spooler's own
// would, so the job reports the step it could not take.
template <class Fn> Fn Spool(const char* name) {
    const Fn call = g_winspool.Find<Fn>(name);
    if (!call) SetLastError(ERROR_PROC_NOT_FOUND);
    return call;
}

BOOL WINAPI SystemOpenPrinter(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults) {
    const auto call = Spool<decltype(&OpenPrinterA)>("OpenPrinterA");
    return call ? call(name, printer, defaults) : FALSE;
}

DWORD WINAPI SystemStartDocPrinter(HANDLE printer, DWORD level, LPBYTE docInfo) {
    const auto call = Spool<decltype(&StartDocPrinterA)>("StartDocPrinterA");
    return call ? call(printer, level, docInfo) : 0;
}

BOOL WINAPI SystemStartPagePrinter(HANDLE printer) {
    const auto call = Spool<decltype(&StartPagePrinter)>("StartPagePrinter");
    return call ? call(printer) : FALSE;
}

BOOL WINAPI SystemWritePrinter(HANDLE printer, LPVOID bytes, DWORD count, LPDWORD written) {
    const auto call = Spool<decltype(&WritePrinter)>("WritePrinter");
    return call ? call(printer, bytes, count, written) : FALSE;
}

BOOL WINAPI SystemEndPagePrinter(HANDLE printer) {
    const auto call = Spool<decltype(&EndPagePrinter)>("EndPagePrinter");
    return call ? call(printer) : FALSE;
}

BOOL WINAPI SystemEndDocPrinter(HANDLE printer) {
    const auto call = Spool<decltype(&EndDocPrinter)>("EndDocPrinter");
    return call ? call(printer) : FALSE;
}

BOOL WINAPI SystemClosePrinter(HANDLE printer) {
    const auto call = Spool<decltype(&ClosePrinter)>("ClosePrinter");
    return call ? call(printer) : FALSE;
}

const SpoolerPlatform kSystemSpooler{
    &SystemOpenPrinter,    &SystemStartDocPrinter, &SystemStartPagePrinter, &SystemWritePrinter,
    &SystemEndPagePrinter, &SystemEndDocPrinter,   &SystemClosePrinter,
};

PlatformBinding<SpoolerPlatform> g_spooler{kSystemSpooler};

} // namespace

const SpoolerPlatform& Spooler() { return g_spooler.Get(); }

void SetSpoolerForTesting(const SpoolerPlatform* spooler) { g_spooler.Replace(spooler); }

SystemLibrary& SpoolerLibrary() { return g_winspool; }

} // namespace ov
