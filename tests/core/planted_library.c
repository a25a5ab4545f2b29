/* Stands in for a system library planted beside a host: when anything loads
   it, it leaves "<its own file name>.loaded" beside itself. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        WCHAR marker[MAX_PATH + 8];
        const DWORD n = GetModuleFileNameW(instance, marker, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            lstrcpyW(marker + n, L".loaded");
            HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, NULL);
            if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        }
    }
    return TRUE;
}
