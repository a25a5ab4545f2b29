// The 29 exports: thin entries into the application object. The .def file
// gives them their ordinals and maps the two that share Win32 names.
#include "core/app.h"

#define OV_EXPORT extern "C" __cdecl

OV_EXPORT short CreateNewDir(char* path) { return TheApp().CreateNewDir(path); }
OV_EXPORT short DirCopy(const char* source, const char* dest, short failIfExists,
                        short skipIdentical) {
    return TheApp().DirCopy(source, dest, failIfExists, skipIdentical);
}
OV_EXPORT const char* DisplayResList(int index) { return TheApp().DisplayResList(index); }
OV_EXPORT short DisplaySetRes(int width, int height, int bits, int frequency, int permanent) {
    return TheApp().DisplaySetRes(width, height, bits, frequency, permanent);
}
OV_EXPORT short FileCopy(const char* source, const char* dest, short failIfExists,
                         short skipIdentical) {
    return TheApp().FileCopy(source, dest, failIfExists, skipIdentical);
}
OV_EXPORT short FileDelete(const char* pattern, short recurse) {
    return TheApp().FileDelete(pattern, recurse);
}
OV_EXPORT const char* OvGetComputerName() { return TheApp().GetComputerName(); }
OV_EXPORT const char* GetData(short slot) { return TheApp().GetData(slot); }
OV_EXPORT short GetFileList(const char* pattern, short sortMode) {
    return TheApp().GetFileList(pattern, sortMode);
}
OV_EXPORT short GetFileListCount() { return TheApp().GetFileListCount(); }
OV_EXPORT const char* GetFileListName(short index) { return TheApp().GetFileListName(index); }
OV_EXPORT const char* GetMyDocDir() { return TheApp().GetMyDocDir(); }
OV_EXPORT const char* GetSystemDir() { return TheApp().GetSystemDir(); }
OV_EXPORT const char* GetTempDir() { return TheApp().GetTempDir(); }
OV_EXPORT const char* OvGetVersion(const char* path) { return TheApp().GetVersion(path); }
OV_EXPORT short GetWindowList(int start, int maxCount, const char* prefix, const char* suffix,
                              short withHandle) {
    return TheApp().GetWindowList(start, maxCount, prefix, suffix, withHandle);
}
OV_EXPORT const char* GetWindowsDir() { return TheApp().GetWindowsDir(); }
OV_EXPORT const char* GetWindowsUserDomain(short withAccount) {
    return TheApp().GetWindowsUserDomain(withAccount);
}
OV_EXPORT short GetWindowsUserGroups() { return TheApp().GetWindowsUserGroups(); }
OV_EXPORT const char* GetWindowsUserName() { return TheApp().GetWindowsUserName(); }
OV_EXPORT short IsActive(short slot) { return TheApp().IsActive(slot); }
OV_EXPORT short PrintLine(const char* printer, const char* text) {
    return TheApp().PrintLine(printer, text);
}
OV_EXPORT short RASActive(const char* entry) { return TheApp().RASActive(entry); }
OV_EXPORT short RASDial(const char* entry, const char* domain, const char* user,
                        const char* password) {
    return TheApp().RASDial(entry, domain, user, password);
}
OV_EXPORT const char* RASEntries() { return TheApp().RASEntries(); }
OV_EXPORT short RASHangUp(const char* entry) { return TheApp().RASHangUp(entry); }
OV_EXPORT const char* RASList() { return TheApp().RASList(); }
OV_EXPORT short SetWindowBorder(HWND window, short kind, short transparent) {
    return TheApp().SetWindowBorder(window, kind, transparent);
}
OV_EXPORT short WindowRefresh(HWND window) { return TheApp().WindowRefresh(window); }
