// Top-level windows that a test owns, made by a thread of their own that
// either serves their messages or, like a hung program, handles none until
// the set is destroyed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/handles.h"

struct TestWindowDesc {
    std::string title;
    DWORD style = WS_OVERLAPPED;
    DWORD exStyle = 0;
};

enum class WindowThread { Serves, Blocked };

class TestWindows {
  public:
    explicit TestWindows(std::vector<TestWindowDesc> descs,
                         WindowThread thread = WindowThread::Serves);
    ~TestWindows();
    TestWindows(const TestWindows&) = delete;
    TestWindows& operator=(const TestWindows&) = delete;

    HWND operator[](std::size_t i) const { return m_windows.at(i); }
    std::size_t size() const { return m_windows.size(); }

  private:
    static DWORD WINAPI ThreadMain(LPVOID self);
    void CreateAll();

    std::vector<TestWindowDesc> m_descs;
    WindowThread m_kind;
    std::vector<HWND> m_windows;
    ov::UniqueHandle m_ready{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    ov::UniqueHandle m_stop{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    ov::UniqueHandle m_thread;
    DWORD m_threadId = 0;
};

// Windows of the calling thread, as a host's script thread owns them; they see
// messages only when that thread handles them.
class CallerThreadWindows {
  public:
    explicit CallerThreadWindows(const std::vector<TestWindowDesc>& descs);
    ~CallerThreadWindows();
    CallerThreadWindows(const CallerThreadWindows&) = delete;
    CallerThreadWindows& operator=(const CallerThreadWindows&) = delete;

  private:
    std::vector<HWND> m_windows;
};

// A title token no other window on the desktop carries.
std::string UniqueTitleToken(const char* stem);
// Signed decimal text of a window handle, as the window list writes it.
std::string HandleText(HWND window);
