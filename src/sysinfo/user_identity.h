// The user's name, domain and groups.
#pragma once

#include <windows.h>

#include <string>

#include "core/worker.h"

// Collects the groups of the process's account on a worker thread.
class CUserGroups : public CSlotWorker {
    DECLARE_WORKER(CUserGroups)
  public:
    BOOL Start();
    BOOL InitInstance() override;
    // The group list; runs in a call frame of its own, and after a caught
    // failure gives the list as far as it was built.
    std::string ExecuteGetUserGroups();
};
