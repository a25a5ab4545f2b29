/* OvDurAru.dll: operating-system services for SCADA scripts.
 *
 * All functions use the C calling convention (on x64, the one convention
 * there is). 16-bit results must be declared as short: the upper part of the
 * result register is undefined. Window handles are pointer-sized. Text results
 * point into module-owned buffers that stay valid until the next call of the
 * same function. Slot-based functions return a slot number (0..29) or -1;
 * poll IsActive(slot) until it returns 0, then collect GetData(slot).
 *
 * GetVersion and GetComputerName share their names with Win32 functions. When
 * <windows.h> was included first, their prototypes are left out; call them
 * through GetProcAddress with OVDURARU_PFN_GetVersion and
 * OVDURARU_PFN_GetComputerName.
 */
#ifndef OVDURARU_H
#define OVDURARU_H

#ifdef __cplusplus
extern "C" {
#endif

#ifndef OVDURARU_API
#define OVDURARU_API __declspec(dllimport)
#endif

typedef struct HWND__* OVDURARU_HWND;

OVDURARU_API short __cdecl CreateNewDir(char* path);
OVDURARU_API short __cdecl DirCopy(const char* source, const char* dest, short failIfExists,
                                   short skipIdentical);
OVDURARU_API const char* __cdecl DisplayResList(int index);
OVDURARU_API short __cdecl DisplaySetRes(int width, int height, int bits, int frequency,
                                         int permanent);
OVDURARU_API short __cdecl FileCopy(const char* source, const char* dest, short failIfExists,
                                    short skipIdentical);
OVDURARU_API short __cdecl FileDelete(const char* pattern, short recurse);
OVDURARU_API const char* __cdecl GetData(short slot);
OVDURARU_API short __cdecl GetFileList(const char* pattern, short sortMode);
OVDURARU_API short __cdecl GetFileListCount(void);
OVDURARU_API const char* __cdecl GetFileListName(short index);
OVDURARU_API const char* __cdecl GetMyDocDir(void);
OVDURARU_API const char* __cdecl GetSystemDir(void);
OVDURARU_API const char* __cdecl GetTempDir(void);
OVDURARU_API short __cdecl GetWindowList(int start, int maxCount, const char* prefix,
                                         const char* suffix, short withHandle);
OVDURARU_API const char* __cdecl GetWindowsDir(void);
OVDURARU_API const char* __cdecl GetWindowsUserDomain(short withAccount);
OVDURARU_API short __cdecl GetWindowsUserGroups(void);
OVDURARU_API const char* __cdecl GetWindowsUserName(void);
OVDURARU_API short __cdecl IsActive(short slot);
OVDURARU_API short __cdecl PrintLine(const char* printer, const char* text);
OVDURARU_API short __cdecl RASActive(const char* entry);
OVDURARU_API short __cdecl RASDial(const char* entry, const char* domain, const char* user,
                                   const char* password);
OVDURARU_API const char* __cdecl RASEntries(void);
OVDURARU_API short __cdecl RASHangUp(const char* entry);
OVDURARU_API const char* __cdecl RASList(void);
OVDURARU_API short __cdecl SetWindowBorder(OVDURARU_HWND window, short kind, short transparent);
OVDURARU_API short __cdecl WindowRefresh(OVDURARU_HWND window);

#if !defined(_WINDOWS_) && !defined(_WINBASE_) && !defined(_WINBASE_H)
OVDURARU_API const char* __cdecl GetComputerName(void);
OVDURARU_API const char* __cdecl GetVersion(const char* path);
#endif

typedef const char*(__cdecl* OVDURARU_PFN_GetComputerName)(void);
typedef const char*(__cdecl* OVDURARU_PFN_GetVersion)(const char* path);

#ifdef __cplusplus
}
#endif

#endif /* OVDURARU_H */
