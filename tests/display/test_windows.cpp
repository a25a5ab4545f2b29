#include "display/test_windows.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

const char kClassName[] = "OvDurAruTestWindow";

void RegisterTestClass() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClassName;
        return RegisterClassA(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
}

HWND CreateTestWindow(const TestWindowDesc& desc) {
    RegisterTestClass();
    HWND w = CreateWindowExA(desc.exStyle, kClassName, desc.title.c_str(), desc.style, 0, 0, 200,
                             100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(w, nullptr) << desc.title;
    return w;
}

} // namespace

TestWindows::TestWindows(std::vector<TestWindowDesc> descs, WindowThread thread)
    : m_descs(std::move(descs)), m_kind(thread) {
    m_thread.reset(CreateThread(nullptr, 0, &ThreadMain, this, 0, &m_threadId));
    EXPECT_TRUE(m_thread);
    EXPECT_EQ(WaitForSingleObject(m_ready.get(), 30000), WAIT_OBJECT_0);
}

TestWindows::~TestWindows() {
    if (!m_thread) return;
    SetEvent(m_stop.get());
    PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
    EXPECT_EQ(WaitForSingleObject(m_thread.get(), 30000), WAIT_OBJECT_0) << "test window thread";
}

void TestWindows::CreateAll() {
    for (const auto& desc : m_descs)
        m_windows.push_back(CreateTestWindow(desc));
}

DWORD WINAPI TestWindows::ThreadMain(LPVOID param) {
    auto* self = static_cast<TestWindows*>(param);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue, before anyone posts
    self->CreateAll();
    SetEvent(self->m_ready.get());
    if (self->m_kind == WindowThread::Blocked) WaitForSingleObject(self->m_stop.get(), INFINITE);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    for (HWND w : self->m_windows)
        if (w) DestroyWindow(w);
    return 0;
}

CallerThreadWindows::CallerThreadWindows(const std::vector<TestWindowDesc>& descs) {
    for (const auto& desc : descs)
        m_windows.push_back(CreateTestWindow(desc));
}

CallerThreadWindows::~CallerThreadWindows() {
    for (HWND w : m_windows)
        if (w) DestroyWindow(w);
}

std::string UniqueTitleToken(const char* stem) {
    static std::atomic<int> counter{0};
    return std::string(stem) + std::to_string(GetCurrentProcessId()) + "x" +
           std::to_string(GetTickCount()) + "x" + std::to_string(++counter) + "_";
}

std::string HandleText(HWND window) {
    return std::to_string(static_cast<LONG>(reinterpret_cast<LONG_PTR>(window)));
}
