#include "dialup/dialup_platform.h"

#include "core/platform_binding.h"
#include "core/system_library.h"

namespace ov {
namespace {

SystemLibrary g_rasapi32{"rasapi32.dll"};

// Without rasapi32 or the function a call answers an error code: the lists
// are empty and a dial fails, as when the service refuses.
const DialupPlatform kSystem = {
    OV_LATE_BOUND(g_rasapi32, RasEnumEntriesA, ERROR_PROC_NOT_FOUND),
    OV_LATE_BOUND(g_rasapi32, RasEnumConnectionsA, ERROR_PROC_NOT_FOUND),
    OV_LATE_BOUND(g_rasapi32, RasGetConnectStatusA, ERROR_PROC_NOT_FOUND),
    OV_LATE_BOUND(g_rasapi32, RasDialA, ERROR_PROC_NOT_FOUND),
    OV_LATE_BOUND(g_rasapi32, RasHangUpA, ERROR_PROC_NOT_FOUND),
};

PlatformBinding<DialupPlatform> g_active{kSystem};

} // namespace

const DialupPlatform& Dialup() { return g_active.Get(); }

void SetDialupForTesting(const DialupPlatform* table) { g_active.Replace(table); }

SystemLibrary& RasLibrary() { return g_rasapi32; }

} // namespace ov
