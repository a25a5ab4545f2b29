// Module entry: starts the application object at load and ends it at unload.
#include <windows.h>

#include "core/afx.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        DisableThreadLibraryCalls(instance);
        return AfxModuleStartup();
    case DLL_PROCESS_DETACH:
        AfxModuleShutdown();
        break;
    default:
        break;
    }
    return TRUE;
}
