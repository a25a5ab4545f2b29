#include "dialup/dialup_platform.h"

#include "core/system_library.h"

namespace ov {
namespace {

SystemLibrary g_rasapi32{"rasapi32.dll"};

} // namespace

// Without rasapi32 or the function a call answers an error code: the lists
// are empty and a dial fails, as when the service refuses.
#define OV_RAS_CALL(call) OV_LATE_BOUND(g_rasapi32, call, ERROR_PROC_NOT_FOUND),
const DialupPlatform DialupPlatform::kSystem = {OV_DIALUP_CALLS(OV_RAS_CALL)};

SystemLibrary& RasLibrary() { return g_rasapi32; }

} // namespace ov
