// The print spooler as the printing job reaches it: the seven Win32 calls a
// raw job needs, bound by default to winspool, which is loaded on first use.
// Tests put a simulated spooler here to drive every failure path.
#pragma once

#include <windows.h>
#include <winspool.h>

namespace ov {

class SystemLibrary;

struct SpoolerPlatform {
    BOOL(WINAPI* openPrinter)(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults);
    DWORD(WINAPI* startDocPrinter)(HANDLE printer, DWORD level, LPBYTE docInfo);
    BOOL(WINAPI* startPagePrinter)(HANDLE printer);
    BOOL(WINAPI* writePrinter)(HANDLE printer, LPVOID bytes, DWORD count, LPDWORD written);
    BOOL(WINAPI* endPagePrinter)(HANDLE printer);
    BOOL(WINAPI* endDocPrinter)(HANDLE printer);
    BOOL(WINAPI* closePrinter)(HANDLE printer);
};

// The spooler in use: the system's unless a test has put another in place.
const SpoolerPlatform& Spooler();
// Tests only: nullptr restores the system's spooler.
void SetSpoolerForTesting(const SpoolerPlatform* spooler);
// winspool.drv, loaded from the system folder on first use; tests may rename it.
SystemLibrary& SpoolerLibrary();

} // namespace ov
