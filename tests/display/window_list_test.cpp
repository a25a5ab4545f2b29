// GetWindowList through the DLL, on windows the test makes with known titles.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "display/test_windows.h"
#include "support/ov_module.h"
#include "support/wait_for.h"

namespace {

std::string List(int start, int maxCount, const std::string& prefix, const std::string& suffix,
                 short withHandle) {
    auto& ov = OvModule::Get();
    const short slot =
        ov.GetWindowList(start, maxCount, prefix.c_str(), suffix.c_str(), withHandle);
    EXPECT_GE(slot, 0);
    return slot < 0 ? std::string("<no slot>") : ov.Wait(slot);
}

// The top-level windows in the platform's order, as this process sees them.
BOOL CALLBACK CollectWindow(HWND w, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
    return TRUE;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> all;
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&all));
    return all;
}

// The given windows in enumeration order.
std::vector<HWND> InPlatformOrder(const TestWindows& windows) {
    std::vector<HWND> mine;
    for (HWND w : TopLevelWindows())
        for (std::size_t i = 0; i < windows.size(); ++i)
            if (windows[i] == w) mine.push_back(w);
    return mine;
}

std::string TitleOf(HWND w, const TestWindows& windows, const std::vector<TestWindowDesc>& descs) {
    for (std::size_t i = 0; i < windows.size(); ++i)
        if (windows[i] == w) return descs[i].title;
    return "?";
}

std::string Join(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& p : parts)
        out += (out.empty() ? "" : ",") + p;
    return out;
}

// The parts of a list, sorted: for windows whose order is not the point.
std::vector<std::string> SortedParts(const std::string& list) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = list.find(',', from)) != std::string::npos; from = at + 1)
        parts.push_back(list.substr(from, at - from));
    parts.push_back(list.substr(from));
    std::sort(parts.begin(), parts.end());
    return parts;
}

std::vector<std::string> Sorted(std::vector<std::string> parts) {
    std::sort(parts.begin(), parts.end());
    return parts;
}

// A request as a host's script thread makes it: this thread handles no
// messages while it polls, and the answer must come within a second.
std::string ListWithoutHandlingMessages(const std::string& prefix) {
    auto& ov = OvModule::Get();
    const short slot = ov.GetWindowList(1, 100, prefix.c_str(), "", 0);
    if (slot >= 0 && !WaitUntilInactive(ov, slot, 1000)) {
        ADD_FAILURE() << "GetWindowList held while the polling thread handled no messages";
        // Handle them now, so that the request can end and free its slot.
        WaitFor(
            [&] {
                for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
                    DispatchMessageA(&msg);
                return !ov.IsActive(slot);
            },
            5000, "the request to end while this thread handles messages");
    }
    return WaitForSlot(ov, slot, 1000);
}

// Five windows whose titles share a unique token, visible and hidden mixed.
class DisplayWindowList : public ::testing::Test {
  protected:
    DisplayWindowList()
        : token(UniqueTitleToken("OvWl")), descs{{token + "Alpha", WS_OVERLAPPEDWINDOW},
                                                 {token + "Beta", WS_OVERLAPPEDWINDOW | WS_VISIBLE},
                                                 {token + "Gamma", WS_POPUP},
                                                 {token + "Delta",
                                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE},
                                                 {token + "Epsilon", WS_POPUP}},
          windows(descs) {
        for (HWND w : InPlatformOrder(windows))
            ordered.push_back(TitleOf(w, windows, descs));
    }

    std::string token;
    std::vector<TestWindowDesc> descs;
    TestWindows windows;
    std::vector<std::string> ordered; // titles in enumeration order
};

} // namespace

TEST_F(DisplayWindowList, PrefixFindsEveryOwnWindowHiddenOnesIncludedInPlatformOrder) {
    ASSERT_EQ(ordered.size(), 5u);
    EXPECT_EQ(List(1, 100, token, "", 0), Join(ordered));
}

TEST_F(DisplayWindowList, StartAndMaximumSelectARangeOfTheMatches) {
    ASSERT_EQ(ordered.size(), 5u);
    EXPECT_EQ(List(3, 2, token, "", 0), Join({ordered[2], ordered[3]}));
    EXPECT_EQ(List(5, 10, token, "", 0), ordered[4]);
    EXPECT_EQ(List(6, 10, token, "", 0), "");
    EXPECT_EQ(List(INT_MAX, 10, token, "", 0), "");
    for (int start : {0, -5, 1, INT_MIN})
        EXPECT_EQ(List(start, 2, token, "", 0), Join({ordered[0], ordered[1]})) << start;
    // A maximum of zero or less still reports the first match.
    for (int maxCount : {0, -1, INT_MIN})
        EXPECT_EQ(List(2, maxCount, token, "", 0), ordered[1]) << maxCount;
    EXPECT_EQ(List(INT_MIN, INT_MAX, token, "", 0), Join(ordered));
}

TEST_F(DisplayWindowList, HandleFlagMakesTitlesAndHandlesAlternate) {
    ASSERT_EQ(ordered.size(), 5u);
    const std::vector<HWND> order = InPlatformOrder(windows);
    EXPECT_EQ(List(1, 2, token, "", 1),
              Join({ordered[0], HandleText(order[0]), ordered[1], HandleText(order[1])}));
    EXPECT_EQ(List(1, 2, token, "", -3), List(1, 2, token, "", 1));
}

TEST_F(DisplayWindowList, OnlyTheLowSixteenBitsOfTheHandleFlagCount) {
    using WideFn = short(__cdecl*)(int, int, const char*, const char*, int);
    auto wide = reinterpret_cast<WideFn>(
        reinterpret_cast<void*>(GetProcAddress(OvModule::Get().handle, "GetWindowList")));
    const short slot = wide(1, 1, token.c_str(), "", 65536);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(OvModule::Get().Wait(slot), ordered.at(0));
}

TEST(DisplayWindowListMatch, PrefixAndSuffixIgnoreLetterCase) {
    const std::string token = UniqueTitleToken("OvWc");
    std::string lower = token;
    std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
    std::string upper = token;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    TestWindows windows(
        {{token + "Notepad"}, {lower + "NOTES"}, {token + "Notepad2"}, {token + "pad"}});

    EXPECT_EQ(SortedParts(List(1, 10, upper + "note", "", 0)),
              Sorted({lower + "NOTES", token + "Notepad", token + "Notepad2"}));
    EXPECT_EQ(SortedParts(List(1, 10, lower, "PAD", 0)),
              Sorted({token + "Notepad", token + "pad"}));
    // A prefix longer than the title never matches it.
    EXPECT_EQ(List(1, 10, token + "pad-and-more", "", 0), "");
    EXPECT_EQ(List(1, 10, token + "p", "pad", 0), token + "pad");
}

TEST(DisplayWindowListWhole, EmptyTitlesCountAndTheSlotHoldsTheWholeList) {
    auto& ov = OvModule::Get();
    // Made last, so they head the enumeration: new windows go on top.
    const std::string token = UniqueTitleToken("OvWw");
    const std::string longTitle = token + std::string(200, 'L');
    const std::string secondTitle = token + "second" + std::string(100, 'S');
    // One thread for all four: its own hidden helper windows come before them.
    TestWindows windows({{longTitle}, {secondTitle}, {""}, {"", WS_POPUP}});
    const std::vector<HWND> top = TopLevelWindows();
    ASSERT_GE(top.size(), 4u);
    const std::vector<HWND> expectedTop{windows[3], windows[2], windows[1], windows[0]};
    ASSERT_EQ(std::vector<HWND>(top.begin(), top.begin() + 4), expectedTop)
        << "the newest windows are expected at the top of the enumeration";

    // Untitled windows leave no trace while the list is empty, yet count.
    EXPECT_EQ(List(1, 2, "", "", 0), "");
    EXPECT_EQ(List(1, 3, "", "", 0), secondTitle);
    EXPECT_EQ(List(2, 2, "", "", 0), secondTitle);
    // With handles, an untitled window's entry begins with the separator.
    EXPECT_EQ(List(1, 2, "", "", 1), "," + HandleText(windows[3]) + ",," + HandleText(windows[2]));

    // Longer than 254 characters: GetData gives the first 254 of them.
    const std::string whole = secondTitle + "," + longTitle;
    ASSERT_GT(whole.size(), 254u);
    const short slot = ov.GetWindowList(3, 2, "", "", 0);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(ov.Wait(slot), whole.substr(0, 254));
}

TEST(DisplayWindowListUnhandled, WindowsOfThePollingThreadOrOfAHungThreadNeverHoldTheList) {
    const std::string token = UniqueTitleToken("OvWu");
    const std::string longTitle = UniqueTitleToken("OvWuLong") + std::string(300, 'T');
    CallerThreadWindows own(
        {{token + "Own"}, {token + "Shown", WS_OVERLAPPEDWINDOW | WS_VISIBLE}, {longTitle}});
    TestWindows hung({{token + "Hung", WS_OVERLAPPEDWINDOW | WS_VISIBLE}}, WindowThread::Blocked);
    TestWindows served({{token + "Served"}});

    EXPECT_EQ(SortedParts(ListWithoutHandlingMessages(token)),
              Sorted({token + "Own", token + "Shown", token + "Hung", token + "Served"}));
    // The title this thread's window keeps is cut like any other.
    EXPECT_EQ(ListWithoutHandlingMessages(longTitle.substr(0, 20)), longTitle.substr(0, 254));
}
