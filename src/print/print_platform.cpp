#include "print/print_platform.h"

#include "core/system_library.h"

namespace ov {
namespace {

SystemLibrary g_winspool{"winspool.drv"};

} // namespace

// Without winspool or one of its functions a call fails as the spooler's own
// would, so the job reports the step it could not take.
#define OV_SPOOLER_CALL(call) OV_LATE_BOUND(g_winspool, call, 0),
const PrintPlatform PrintPlatform::kSystem = {OV_PRINT_CALLS(OV_SPOOLER_CALL)};

SystemLibrary& SpoolerLibrary() { return g_winspool; }

} // namespace ov
