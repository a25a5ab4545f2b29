// A small application framework: application object, thread objects with
// InitInstance/ExitInstance/auto-delete, creation by class name and the
// sockets start-up. Only what the module needs.
#pragma once

#include <windows.h>

#include <memory>

class CObject;

// Runtime-class record: lets a worker be created from its class name.
struct CRuntimeClass {
    const char* m_lpszClassName;
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* m_pNextClass;

    CObject* CreateObject() const;
    static const CRuntimeClass* FromName(const char* className);
};

class CObject {
  public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const = 0;
};

// Adds a runtime-class record to the module-wide list at static-init time.
struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* record);
};

#define DECLARE_DYNCREATE(class_name)                                                              \
  public:                                                                                          \
    static CRuntimeClass class##class_name;                                                        \
    static CObject* CreateObject();                                                                \
    const CRuntimeClass* GetRuntimeClass() const override { return &class##class_name; }

#define IMPLEMENT_DYNCREATE(class_name)                                                            \
    CObject* class_name::CreateObject() { return new class_name; }                                 \
    CRuntimeClass class_name::class##class_name = {#class_name, &class_name::CreateObject,         \
                                                   nullptr};                                       \
    static const AFX_CLASSINIT _init_##class_name(&class_name::class##class_name);

// A thread object. The thread runs InitInstance; when it returns nonzero the
// message loop runs until a quit request, then ExitInstance. With auto-delete
// set the object is deleted when its thread ends. A running thread keeps the
// module loaded, so a host may unload the module while jobs still run.
class CWinThread : public CObject {
  public:
    CWinThread() = default;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Creates the thread and waits until it has passed its start-up.
    BOOL CreateThread();

    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return m_nExitCode; }
    virtual int Run();

    BOOL m_bAutoDelete = TRUE;

    // Where every thread object's thread starts: a program that links the
    // module's objects tells the module's threads from its own by it.
    static const void* StartAddress();

  protected:
    int m_nExitCode = 0;

  private:
    static DWORD WINAPI ThreadEntry(LPVOID param);
    void RunThread(HANDLE startedEvent);

  protected:
    // The thread's last act, however its work ended: deletes the object
    // (self is null without auto-delete). The thread ends right after.
    virtual void EndThreadObject(std::unique_ptr<CWinThread> self) { self.reset(); }
};

// The application object: one static instance, started at load, ended at unload.
class CWinApp : public CObject {
  public:
    CWinApp();
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
};

CWinApp* AfxGetApp();

// Starts Windows Sockets 1.1 away from the loader lock: on the first call into
// the module (AfxRunDeferredStartup). The outcome is not reported.
BOOL AfxSocketInit();
void AfxRunDeferredStartup();
// Ends the module's use of the sockets layer; its reference is left to the process's exit.
void AfxSocketTerm();

// Module start-up and unload, called from the module entry (and by in-process tests).
BOOL AfxModuleStartup();
void AfxModuleShutdown();
