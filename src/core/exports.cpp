// The 29 exports: thin entries into the application object, made from the
// export list. Each is named Ov<export>, as two export names are Win32 ones;
// the .def file made from the same list gives them their names and ordinals.
#include <type_traits>

#include "core/app.h"
#include "core/export_list.h"

#define OV_SHIM(name, kind, params, names)                                                         \
    static_assert(                                                                                 \
        std::is_same_v<decltype(&COvDEvedApp::name), OV_RESULT_##kind(COvDEvedApp::*) params>,     \
        "COvDEvedApp::" #name " differs from the export list");                                    \
    extern "C" OV_RESULT_##kind __cdecl Ov##name params { return TheApp().name names; }
OV_EXPORT_LIST(OV_SHIM)
#undef OV_SHIM
