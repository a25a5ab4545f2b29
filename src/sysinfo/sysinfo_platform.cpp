#include "sysinfo/sysinfo_platform.h"

#include "core/system_library.h"

namespace ov {
namespace {

SystemLibrary g_versionDll{"version.dll"};

} // namespace

// Without version.dll or one of its calls a file reads as having no version
// resource. The language name comes from kernel32, which has it too.
#define OV_VERSION_CALL(call) OV_LATE_BOUND(g_versionDll, call, 0),
const SysinfoPlatform SysinfoPlatform::kSystem = {OV_SYSINFO_CALLS(OV_SYSTEM_CALL)
                                                      OV_VERSION_CALLS(OV_VERSION_CALL)};

SystemLibrary& VersionLibrary() { return g_versionDll; }

} // namespace ov
