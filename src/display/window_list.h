#pragma once

#include <string>

#include "core/worker.h"

// Lists the titles of the desktop's top-level windows, filtered by a title
// prefix and suffix and limited to a range of the matching windows.
class CWindowList : public CSlotWorker {
    DECLARE_WORKER(CWindowList)
  public:
    BOOL Start(int start, int maxCount, const char* prefix, const char* suffix, short withHandle);
    BOOL InitInstance() override;
    std::string CollectWindows();
    // Adds one window to the list when it matches and lies in range; false ends the listing.
    bool AddWindow(HWND window, const std::string& title);

    std::string m_strList;
    int m_nStart = 0;
    int m_nMax = 0;
    std::string m_strPrefix;
    std::string m_strSuffix;
    short m_nWithHandle = 0;
};

BOOL CALLBACK WindowListProc(HWND window, LPARAM worker);
