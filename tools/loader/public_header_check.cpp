// The public header, as a caller without <windows.h> sees it, declares every
// export as the export list gives it.
#include "OvDurAru.h"

#include <type_traits>

#include "core/export_list.h"

#define OV_CHECK(name, kind, params, names)                                                        \
    static_assert(std::is_same_v<decltype(&::name), ov::exports::name>,                            \
                  "OvDurAru.h declares " #name " unlike the export list");
OV_EXPORT_LIST(OV_CHECK)
#undef OV_CHECK
static_assert(std::is_same_v<OVDURARU_PFN_GetComputerName, ov::exports::GetComputerName>);
static_assert(std::is_same_v<OVDURARU_PFN_GetVersion, ov::exports::GetVersion>);
