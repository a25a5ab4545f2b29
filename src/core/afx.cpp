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
std::atomic<int> g_liveThreads{0};
} // namespace

int AfxLiveThreadCount() { return g_liveThreads.load(); }

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

struct ThreadExit {
    UINT exitCode;
    BOOL deleteThread;
};

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

BOOL CWinThread::CreateThread(DWORD createFlags, UINT stackSize, LPSECURITY_ATTRIBUTES security) {
    ov::UniqueHandle started(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!started) return FALSE;
    ThreadStart start{this, started.get(), PinModule()};
    if (!start.pin) return FALSE;
    DWORD id = 0;
    ++g_liveThreads;
    ov::UniqueHandle thread(::CreateThread(security, stackSize, &ThreadEntry, &start,
                                           createFlags & ~CREATE_SUSPENDED, &id));
    if (!thread) {
        --g_liveThreads;
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
    start.thread->m_nThreadID = GetCurrentThreadId();
    start.thread->RunThread(start.started); // the creator's record is gone after this
    --g_liveThreads;
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
    } catch (const ThreadExit& exit) {
        if (!exit.deleteThread) (void)owner.release();
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

void AfxEndThread(UINT exitCode, BOOL deleteThread) {
    // Unwinds to the thread's start, which deletes the object and ends the
    // thread. Unwinding is slow and takes the unwinder's locks: request
    // workers end by returning from InitInstance instead.
    throw ThreadExit{exitCode, deleteThread};
}

// ---- Application and module -----------------------------------------------

CWinApp::CWinApp() { g_app = this; }
CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

namespace {
enum SocketsState { kSocketsIdle, kSocketsArmed, kSocketsStarting, kSocketsUp, kSocketsDown };
std::atomic<int> g_sockets{kSocketsIdle};
} // namespace

BOOL AfxSocketInit() {
    // The module entry runs under the loader lock, where Windows Sockets must
    // not be started; nor may a thread started there race the host's exit. The
    // start-up is armed here and runs on the first call into the module.
    g_sockets.store(kSocketsArmed);
    return TRUE;
}

void AfxRunDeferredStartup() {
    if (g_sockets.load(std::memory_order_relaxed) != kSocketsArmed) return;
    int armed = kSocketsArmed;
    if (!g_sockets.compare_exchange_strong(armed, kSocketsStarting)) return;
    WSADATA data;
    g_sockets.store(WSAStartup(MAKEWORD(1, 1), &data) == 0 ? kSocketsUp : kSocketsDown);
}

void AfxSocketTerm() {
    // The start-up's reference is kept until the process ends, when the
    // system releases it. Windows Sockets must not be cleaned up under the
    // loader lock, and a clean-up handed to a thread of its own races a host
    // that exits right after unloading the module: the process can crash in
    // its exit. Loading the module again takes one more reference.
    g_sockets.store(kSocketsIdle);
}

BOOL AfxModuleStartup() {
    CWinApp* app = AfxGetApp();
    return app ? app->InitInstance() : FALSE;
}

void AfxModuleShutdown() {
    if (CWinApp* app = AfxGetApp()) app->ExitInstance();
    AfxSocketTerm();
}
