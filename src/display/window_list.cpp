#include "display/window_list.h"

#include <string_view>

#include "core/app.h"

namespace {

// Letter case ignored by the rules of the user's language.
bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::string_view Head(std::string_view title, std::size_t n) { return title.substr(0, n); }

std::string_view Tail(std::string_view title, std::size_t n) {
    return n >= title.size() ? title : title.substr(title.size() - n);
}

std::string TitleOf(HWND window) {
    char title[256];
    const int n = GetWindowTextA(window, title, 255);
    return n > 0 ? std::string(title, static_cast<std::size_t>(n)) : std::string();
}

std::string HandleText(HWND window) {
    return std::to_string(static_cast<LONG>(reinterpret_cast<LONG_PTR>(window)));
}

} // namespace

IMPLEMENT_DYNCREATE(CWindowList)

short COvDEvedApp::GetWindowList(int start, int maxCount, const char* prefix, const char* suffix,
                                 short withHandle) {
    return StartRequest<CWindowList>("COvDEvedApp::GetWindowList", "", [&](CWindowList& worker) {
        return worker.Start(start, maxCount, prefix, suffix, withHandle);
    });
}

BOOL CWindowList::Start(int start, int maxCount, const char* prefix, const char* suffix,
                        short withHandle) {
    m_nStart = start;
    m_nMax = maxCount;
    // A null text is a caller fault like any bad pointer: it reaches the frame.
    m_strPrefix = prefix;
    m_strSuffix = suffix;
    m_nWithHandle = withHandle;
    return CreateThread(0, 0, nullptr);
}

BOOL CWindowList::InitInstance() { return FinishRequest(CollectWindows()); }

std::string CWindowList::CollectWindows() {
    m_strList.clear();
    EnumWindows(&WindowListProc, reinterpret_cast<LPARAM>(this));
    return m_strList;
}

bool CWindowList::AddWindow(HWND window, const std::string& title) {
    if (!m_strPrefix.empty() && !SameIgnoringCase(m_strPrefix, Head(title, m_strPrefix.size())))
        return true;
    if (!m_strSuffix.empty() && !SameIgnoringCase(m_strSuffix, Tail(title, m_strSuffix.size())))
        return true;
    // Matches before the start position are passed over; the count is put
    // back after a report, so every later match is reported too.
    if (--m_nStart > 0) return true;
    if (!m_strList.empty()) m_strList += ',';
    m_strList += title;
    if (m_nWithHandle) m_strList += ',' + HandleText(window);
    ++m_nStart;
    // The first report always goes in, whatever the maximum count.
    return --m_nMax > 0;
}

// Called back by the platform: nothing may unwind through it. A failure ends
// the listing with what was gathered so far.
BOOL CALLBACK WindowListProc(HWND window, LPARAM worker) {
    try {
        return reinterpret_cast<CWindowList*>(worker)->AddWindow(window, TitleOf(window)) ? TRUE
                                                                                          : FALSE;
    } catch (...) {
        return FALSE;
    }
}
