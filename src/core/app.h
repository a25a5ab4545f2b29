// The application object: the slot table, the kept dial-up connection, the
// file list, and one method per export.
#pragma once

#include <windows.h>
#undef GetComputerName

#include <atomic>
#include <memory>

#include "core/afx.h"
#include "core/call_frame.h"
#include "core/slots.h"

// Owned by their subsystems, which create them on first use.
class CFileListStore;
namespace ov::ras {
class KeptConnection;
}

class COvDEvedApp : public CWinApp {
  public:
    COvDEvedApp();
    ~COvDEvedApp() override;

    BOOL InitInstance() override;
    const CRuntimeClass* GetRuntimeClass() const override { return nullptr; }

    // Files
    short CreateNewDir(char* path);
    short FileCopy(const char* source, const char* dest, short failIfExists, short skipIdentical);
    short DirCopy(const char* source, const char* dest, short failIfExists, short skipIdentical);
    short FileDelete(const char* pattern, short recurse);
    short GetFileList(const char* pattern, short sortMode);
    short GetFileListCount();
    const char* GetFileListName(short index);

    // Slots
    short IsActive(short slot);
    const char* GetData(short slot);

    // Dial-up
    const char* RASEntries();
    const char* RASList();
    short RASActive(const char* entry);
    short RASDial(const char* entry, const char* domain, const char* user, const char* password);
    short RASHangUp(const char* entry);

    // Printing
    short PrintLine(const char* printer, const char* text);

    // Display and windows
    const char* DisplayResList(int index);
    short DisplaySetRes(int width, int height, int bits, int frequency, int permanent);
    short SetWindowBorder(HWND window, short kind, short transparent);
    short WindowRefresh(HWND window);
    short GetWindowList(int start, int maxCount, const char* prefix, const char* suffix,
                        short withHandle);

    // System and user information
    const char* GetWindowsDir();
    const char* GetSystemDir();
    const char* GetTempDir();
    const char* GetMyDocDir();
    const char* GetComputerName();
    const char* GetWindowsUserName();
    const char* GetWindowsUserDomain(short withAccount);
    short GetWindowsUserGroups();
    const char* GetVersion(const char* path);

    // The slot-based request protocol: claim the lowest free slot, create the
    // worker by class name, give it the slot and the initial text, then let
    // start(worker) store the arguments and start its thread. Returns the slot
    // number, or -1 when every slot is taken. A request that fails after its
    // claim never leaves the slot active.
    template <class Worker, class Start>
    short StartRequest(const char* traceName, const char* initialText, Start&& start);

    COperationSlotTable m_slots;
    // Handle of the latest dial-up connection, created by the first dial-up
    // request; written by the dial-up workers only.
    std::atomic<ov::ras::KeptConnection*> m_hRasConn{nullptr};
    // The module-wide file list, created by the first listing request.
    std::atomic<CFileListStore*> m_pFileList{nullptr};
};

COvDEvedApp& TheApp();

// The module's one T, made on first use and kept until unload; member is the
// application object's pointer to it, set again on every use.
namespace ov {
template <class T> T& ModuleObject(std::atomic<T*>& member) {
    static T object;
    member.store(&object, std::memory_order_release);
    return object;
}
} // namespace ov

// The runtime-class record of a worker class; throws when none has that name.
const CRuntimeClass& RequireRuntimeClass(const char* className);

template <class Worker, class Start>
short COvDEvedApp::StartRequest(const char* traceName, const char* initialText, Start&& start) {
    // Owned here, outside the frame, so that a fault inside it leaks nothing.
    std::unique_ptr<CObject> object;
    short slot = -1;
    bool settled = false;
    const short result = ov::CallFrame<short>(traceName, slot, [&]() -> short {
        slot = static_cast<short>(m_slots.Claim());
        if (slot < 0) return -1;
        object.reset(RequireRuntimeClass(Worker::class_name()).CreateObject());
        auto& worker = dynamic_cast<Worker&>(*object);
        worker.m_pSlot = &m_slots[slot];
        m_slots[slot].SetText(initialText);
        if (start(worker))
            object.release(); // the thread owns and deletes it now
        else
            m_slots.Release(slot);
        settled = true;
        return slot;
    });
    if (slot >= 0 && !settled) m_slots.Release(slot);
    return result;
}
