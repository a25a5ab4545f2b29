// Bad input through the real DLL: bad text pointers, extreme numbers and
// texts, and a seeded random-call run. Nothing may crash the host, leave a
// slot active, return a null or overlong text, or write past a buffer.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "support/ov_module.h"
#include "support/wait_for.h"

namespace {

// A page that was mapped and then released: reading it faults.
const char* FreedPage() {
    void* p = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    VirtualFree(p, 0, MEM_RELEASE);
    return static_cast<const char*>(p);
}

std::vector<const char*> BadPointers() {
    return {nullptr, reinterpret_cast<const char*>(1), reinterpret_cast<const char*>(0x10),
            FreedPage()};
}

enum class Kind { Text, Slot, Code };

// One export that takes texts: the call with every text argument but one valid.
struct TextCall {
    std::string trace;
    int textArgs;
    Kind kind;
    short failure; // for Kind::Code
    std::function<const void*(int which, const char* bad)> call;
};

std::vector<TextCall> TextCalls() {
    auto& m = OvModule::Get();
    auto pick = [](int which, int i, const char* bad) { return which == i ? bad : "C:\\x"; };
    auto slot = [](short s) { return reinterpret_cast<const void*>(static_cast<intptr_t>(s)); };
    return {
        {"COvDEvedApp::CreateNewDir", 1, Kind::Code, 0,
         [&, slot](int, const char* bad) { return slot(m.CreateNewDir(const_cast<char*>(bad))); }},
        {"COvDEvedApp::FileCopy", 2, Kind::Slot, 0,
         [&, pick, slot](int w, const char* bad) {
             return slot(m.FileCopy(pick(w, 0, bad), pick(w, 1, bad), 0, 0));
         }},
        {"COvDEvedApp::DirCopy", 2, Kind::Slot, 0,
         [&, pick, slot](int w, const char* bad) {
             return slot(m.DirCopy(pick(w, 0, bad), pick(w, 1, bad), 0, 0));
         }},
        {"COvDEvedApp::FileDelete", 1, Kind::Slot, 0,
         [&, slot](int, const char* bad) { return slot(m.FileDelete(bad, 0)); }},
        {"COvDEvedApp::GetFileList", 1, Kind::Slot, 0,
         [&, slot](int, const char* bad) { return slot(m.GetFileList(bad, 1)); }},
        {"COvDEvedApp::GetWindowList", 2, Kind::Slot, 0,
         [&, pick, slot](int w, const char* bad) {
             return slot(m.GetWindowList(0, 10, pick(w, 0, bad), pick(w, 1, bad), 0));
         }},
        {"COvDEvedApp::PrintLine", 2, Kind::Slot, 0,
         [&, pick, slot](int w, const char* bad) {
             return slot(m.PrintLine(pick(w, 0, bad), pick(w, 1, bad)));
         }},
        {"COvDEvedApp::RASDial", 4, Kind::Slot, 0,
         [&, pick, slot](int w, const char* bad) {
             return slot(
                 m.RASDial(pick(w, 0, bad), pick(w, 1, bad), pick(w, 2, bad), pick(w, 3, bad)));
         }},
        {"COvDEvedApp::RASHangUp", 1, Kind::Slot, 0,
         [&, slot](int, const char* bad) { return slot(m.RASHangUp(bad)); }},
        {"COvDEvedApp::RASActive", 1, Kind::Code, 0,
         [&, slot](int, const char* bad) { return slot(m.RASActive(bad)); }},
        {"COvDEvedApp::GetVersion", 1, Kind::Text, 0,
         [&](int, const char* bad) -> const void* { return m.GetVersion(bad); }},
    };
}

void ExpectSaneText(const char* text, const std::string& what) {
    ASSERT_NE(text, nullptr) << what;
    EXPECT_LE(std::strlen(text), 254u) << what;
}

} // namespace

TEST(CoreRobustness, BadTextPointersGiveOneLogLineAndTheFailureValue) {
    auto& m = OvModule::Get();
    for (const TextCall& c : TextCalls()) {
        for (int which = 0; which < c.textArgs; ++which) {
            for (const char* bad : BadPointers()) {
                const std::string what = c.trace + " argument " + std::to_string(which) + " = " +
                                         std::to_string(reinterpret_cast<uintptr_t>(bad));
                const int before = CountLogLines(c.trace);
                const void* result = c.call(which, bad);
                EXPECT_EQ(CountLogLines(c.trace), before + 1) << what;
                const short code = static_cast<short>(reinterpret_cast<intptr_t>(result));
                switch (c.kind) {
                case Kind::Text:
                    ExpectSaneText(static_cast<const char*>(result), what);
                    EXPECT_STREQ(static_cast<const char*>(result), "") << what;
                    break;
                case Kind::Code:
                    EXPECT_EQ(code, c.failure) << what;
                    break;
                case Kind::Slot:
                    EXPECT_GE(code, -1) << what;
                    EXPECT_LE(code, 29) << what;
                    if (code >= 0) {
                        EXPECT_TRUE(WaitUntilInactive(m, code, 10000))
                            << what << ": slot left active";
                        m.GetData(code);
                    }
                    break;
                }
            }
        }
    }
    // No slot was lost on the way.
    for (short i = 0; i < 30; ++i)
        EXPECT_EQ(m.FileCopy("C:\\none", "C:\\none2", 0, 0), i);
    m.CollectAll();
}

TEST(CoreRobustness, ExtremeNumbersAndTextsKeepEveryTextResultSane) {
    auto& m = OvModule::Get();
    ScratchDir dir;
    ASSERT_TRUE(SetCurrentDirectoryA(dir.path().c_str()));
    const std::vector<int> numbers = {0,     -1,    32767,   -32768,  65535,
                                      65536, 65539, INT_MIN, INT_MAX, 12345678};
    std::vector<std::string> texts = {"",     "\x80\xff\xe9", "*", "?*.*",
                                      "\\\\", "a\\b\\..\\c",  "@", ",,,"};
    for (std::size_t n : {254u, 255u, 259u, 260u, 4096u, 65536u})
        texts.push_back(dir.path() + "\\" + std::string(n, 'L'));
    using ShortFn = short(__cdecl*)(int);
    auto asInt = [&](const char* name) {
        return reinterpret_cast<ShortFn>(reinterpret_cast<void*>(GetProcAddress(m.handle, name)));
    };
    auto getData = reinterpret_cast<const char*(__cdecl*)(int)>(
        reinterpret_cast<void*>(GetProcAddress(m.handle, "GetData")));
    auto fileListName = reinterpret_cast<const char*(__cdecl*)(int)>(
        reinterpret_cast<void*>(GetProcAddress(m.handle, "GetFileListName")));
    auto domain = reinterpret_cast<const char*(__cdecl*)(int)>(
        reinterpret_cast<void*>(GetProcAddress(m.handle, "GetWindowsUserDomain")));
    for (int n : numbers) {
        ExpectSaneText(getData(n), "GetData " + std::to_string(n));
        ExpectSaneText(fileListName(n), "GetFileListName " + std::to_string(n));
        ExpectSaneText(domain(n), "GetWindowsUserDomain " + std::to_string(n));
        ExpectSaneText(m.DisplayResList(n), "DisplayResList " + std::to_string(n));
        EXPECT_EQ(asInt("IsActive")(n), 0) << "IsActive " << n << ": every slot is free";
        EXPECT_EQ(m.DisplayResList(n), m.DisplayResList(0)) << "one buffer per export";
    }
    for (const std::string& t : texts) {
        const std::string what = "text of " + std::to_string(t.size());
        ExpectSaneText(m.GetVersion(t.c_str()), "GetVersion " + what);
        // No connection here: only the empty text, which occurs in every list, matches.
        EXPECT_EQ(m.RASActive(t.c_str()), t.empty() ? 1 : 0) << what;
        std::string writable = t + std::string(1, '\0') + "GUARD";
        const short made = m.CreateNewDir(writable.data());
        EXPECT_TRUE(made == 0 || made == 1) << what;
        if (t.size() > 259) {
            EXPECT_EQ(made, 0) << what << ": too long to create";
        }
        if (made) {
            EXPECT_TRUE(DirExists(writable.c_str())) << what;
        }
        EXPECT_EQ(writable.substr(writable.size() - 5), "GUARD") << what;
        for (int n : {0, 1, -1, 65536, INT_MIN}) {
            const short s = m.FileCopy(t.c_str(), (dir / "copy").c_str(), static_cast<short>(n),
                                       static_cast<short>(n));
            if (s >= 0) ExpectSaneText(m.Wait(s).c_str(), "FileCopy " + what);
            const short l = m.GetFileList(t.c_str(), static_cast<short>(n));
            if (l >= 0) ExpectSaneText(m.Wait(l).c_str(), "GetFileList " + what);
            const short w = m.GetWindowList(n, n, t.c_str(), t.c_str(), static_cast<short>(n));
            if (w >= 0) ExpectSaneText(m.Wait(w).c_str(), "GetWindowList " + what);
        }
    }
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    SetCurrentDirectoryA(temp);
    for (short i = 0; i < 30; ++i)
        EXPECT_EQ(m.IsActive(i), 0);
}
