#include "core/afx.h"

#include <winsock2.h>

#include <atomic>
#include <cstring>

#include "core/fault_guard.h"
#include "core/handles.h"

// ---- Runtime classes ------------------------------------------------------

namespace {
// Constant-initialised, so records may register from any static initialiser.
CRuntimeClass* g_firstClass = nullptr;
CWinApp* g_app = nullptr;
} // namespace

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* record) {
    record->m_pNextClass = g_firstClass;
    g_firstClass = record;
}

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

const CRuntimeClass* CRuntimeClass::FromName(const char* className) {
    for (const CRuntimeClass* c = g_firstClass; c; c = c->m_pNextClass)
        if (std::strcmp(c->m_lpszClassName, className) == 0) return c;
    return nullptr;
}

// ---- Threads --------------------------------------------------------------

namespace {

struct ThreadStart {
    CWinThread* thread;
    HANDLE started;
    HMODULE pin;
};

// Takes a reference on the module that holds this code, so that it stays
// mapped while a thread runs it.
HMODULE PinModule() {
    HMODULE pin = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&PinModule),
                       &pin);
    return pin;
}

} // namespace

BOOL CWinThread::CreateThread() {
    ov::UniqueHandle started(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!started) return FALSE;
    ThreadStart start{this, started.get(), PinModule()};
    if (!start.pin) return FALSE;
    ov::UniqueHandle thread(::CreateThread(nullptr, 0, &ThreadEntry, &start, 0, nullptr));
    if (!thread) {
        FreeLibrary(start.pin);
        return FALSE;
    }
    // Success only once the thread has passed its start-up; a thread that
    // died before that has failed to start.
    HANDLE waitFor[] = {started.get(), thread.get()};
    return WaitForMultipleObjects(2, waitFor, FALSE, INFINITE) == WAIT_OBJECT_0;
}

const void* CWinThread::StartAddress() { return reinterpret_cast<const void*>(&ThreadEntry); }

DWORD WINAPI CWinThread::ThreadEntry(LPVOID param) {
    const ThreadStart start = *static_cast<ThreadStart*>(param);
    start.thread->RunThread(start.started); // the creator's record is gone after this
    FreeLibraryAndExitThread(start.pin, 0);
}

void CWinThread::RunThread(HANDLE startedEvent) {
    std::unique_ptr<CWinThread> owner(m_bAutoDelete ? this : nullptr);
    SetEvent(startedEvent);
    try {
        // A fault or an exception ends the work; the object still ends below.
        ov::RunGuarded([this] {
            if (InitInstance())
                m_nExitCode = Run();
            else
                m_nExitCode = ExitInstance();
        });
    } catch (...) {
    }
    EndThreadObject(std::move(owner));
}

int CWinThread::Run() {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            m_nExitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (got < 0) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return ExitInstance();
}

// ---- Application and module -----------------------------------------------

CWinApp::CWinApp() { g_app = this; }
CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

namespace {
std::atomic<bool> g_socketsArmed{false};
} // namespace

BOOL AfxSocketInit() {
    // The module entry runs under the loader lock, where Windows Sockets must
    // not be started; nor may a thread started there race the host's exit. The
    // start-up is armed here and runs on the first call into the module.
    g_socketsArmed.store(true);
    return TRUE;
}

void AfxRunDeferredStartup() {
    if (!g_socketsArmed.load(std::memory_order_relaxed) || !g_socketsArmed.exchange(false)) return;
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
}

void AfxSocketTerm() {
    // The start-up's reference is kept until the process ends, when the
    // system releases it. Windows Sockets must not be cleaned up under the
    // loader lock, and a clean-up handed to a thread of its own races a host
    // that exits right after unloading the module: the process can crash in
    // its exit. Loading the module again takes one more reference.
    g_socketsArmed.store(false);
}

BOOL AfxModuleStartup() {
    CWinApp* app = AfxGetApp();
    return app ? app->InitInstance() : FALSE;
}

void AfxModuleShutdown() {
    if (CWinApp* app = AfxGetApp()) app->ExitInstance();
    AfxSocketTerm();
}
