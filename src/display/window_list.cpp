#include "display/window_list.h"

#include <algorithm>
#include <string_view>

#include "core/app.h"
#include "core/call_frame.h"
#include "display/display_platform.h"

namespace {

// Letter case ignored by the rules of the user's language. Text is compared and
// converted with the locale's own functions, which no test needs to replace.
bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::string_view Head(std::string_view title, std::size_t n) { return title.substr(0, n); }

std::string_view Tail(std::string_view title, std::size_t n) {
    return n >= title.size() ? title : title.substr(title.size() - n);
}

constexpr int kTitleRoom = 255;        // the platform's limit, terminator included
constexpr std::size_t kMaxTitle = 254; // characters a title keeps

bool OwnedByThisProcess(HWND window) {
    DWORD process = 0;
    const auto& display = ov::Display();
    return display.GetWindowThreadProcessId(window, &process) != 0 &&
           process == display.GetCurrentProcessId();
}

// Cut like an ANSI read into the same room, never inside a double-byte character.
std::string CutToTitleRoom(std::string text) {
    std::size_t keep = 0;
    while (keep < text.size()) {
        const std::size_t width = IsDBCSLeadByte(static_cast<BYTE>(text[keep])) ? 2 : 1;
        if (keep + width > kMaxTitle) break;
        keep += width;
    }
    text.resize(std::min(keep, text.size()));
    return text;
}

// The title as the window keeps it, read without a message: asking a window of
// this process for its text waits on the window's thread, which may be the
// very thread that polls for this list, or one that hangs.
std::string KeptTitleOf(HWND window) {
    wchar_t wide[kTitleRoom];
    const int n = ov::Display().InternalGetWindowText(window, wide, kTitleRoom);
    if (n <= 0) return {};
    char title[2 * kTitleRoom];
    const int bytes =
        WideCharToMultiByte(CP_ACP, 0, wide, n, title, sizeof(title), nullptr, nullptr);
    if (bytes <= 0) return {};
    return CutToTitleRoom(std::string(title, static_cast<std::size_t>(bytes)));
}

// Other processes' windows: the platform reads their kept title without a message.
std::string AnsiTitleOf(HWND window) {
    char title[kTitleRoom + 1];
    const int n = ov::Display().GetWindowTextA(window, title, kTitleRoom);
    return n > 0 ? std::string(title, static_cast<std::size_t>(n)) : std::string();
}

// A title that cannot be read counts as no title.
std::string TitleOf(HWND window) {
    return OwnedByThisProcess(window) ? KeptTitleOf(window) : AnsiTitleOf(window);
}

std::string HandleText(HWND window) {
    return std::to_string(static_cast<LONG>(reinterpret_cast<LONG_PTR>(window)));
}

} // namespace

IMPLEMENT_DYNCREATE(CWindowList)

short COvDEvedApp::GetWindowList(int start, int maxCount, const char* prefix, const char* suffix,
                                 short withHandle) {
    return StartRequest<CWindowList>(OV_APP_TRACE(GetWindowList), "", [&](CWindowList& worker) {
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
    return CreateThread();
}

BOOL CWindowList::InitInstance() { return FinishRequest(CollectWindows()); }

std::string CWindowList::CollectWindows() {
    m_strList.clear();
    ov::Display().EnumWindows(&WindowListProc, reinterpret_cast<LPARAM>(this));
    return m_strList;
}

bool CWindowList::AddWindow(HWND window, const std::string& title) {
    if (!m_strPrefix.empty() && !SameIgnoringCase(m_strPrefix, Head(title, m_strPrefix.size())))
        return true;
    if (!m_strSuffix.empty() && !SameIgnoringCase(m_strSuffix, Tail(title, m_strSuffix.size())))
        return true;
    // Matches before the start position are passed over. Counting down only
    // while above the boundaries keeps every value at or below them, however
    // low, acting like the boundary.
    if (m_nStart > 1) {
        --m_nStart;
        return true;
    }
    if (!m_strList.empty()) m_strList += ',';
    m_strList += title;
    if (m_nWithHandle) m_strList += ',' + HandleText(window);
    // The first report always goes in, whatever the maximum count.
    if (m_nMax <= 1) return false;
    --m_nMax;
    return true;
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
