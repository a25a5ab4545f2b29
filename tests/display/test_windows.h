// Top-level windows that a test owns, made and served by a thread of their
// own: reading the title of another thread's window sends that thread a
// message, so the windows' thread pumps messages until the set is destroyed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct TestWindowDesc {
    std::string title;
    DWORD style = WS_OVERLAPPED;
    DWORD exStyle = 0;
};

class TestWindows {
  public:
    explicit TestWindows(std::vector<TestWindowDesc> descs);
    ~TestWindows();
    TestWindows(const TestWindows&) = delete;
    TestWindows& operator=(const TestWindows&) = delete;

    HWND operator[](std::size_t i) const { return m_windows.at(i); }
    std::size_t size() const { return m_windows.size(); }

  private:
    static DWORD WINAPI ThreadMain(LPVOID self);
    void CreateAll();

    std::vector<TestWindowDesc> m_descs;
    std::vector<HWND> m_windows;
    HANDLE m_ready = nullptr;
    HANDLE m_thread = nullptr;
    DWORD m_threadId = 0;
};

// A title token no other window on the desktop carries.
std::string UniqueTitleToken(const char* stem);
// Signed decimal text of a window handle, as the window list writes it.
std::string HandleText(HWND window);
