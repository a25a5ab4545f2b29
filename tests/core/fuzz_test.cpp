// A seeded random-call run through the real DLL. Bounded for CI; set
// OV_FUZZ_SECONDS for a longer run and OV_FUZZ_SEED to replay a failure.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "support/ov_module.h"
#include "support/wait_for.h"

namespace {

unsigned Seed() {
    if (const char* s = std::getenv("OV_FUZZ_SEED"))
        return static_cast<unsigned>(std::strtoul(s, nullptr, 10));
    return static_cast<unsigned>(GetTickCount());
}

DWORD Seconds() {
    if (const char* s = std::getenv("OV_FUZZ_SECONDS")) return static_cast<DWORD>(std::atoi(s));
    return 15;
}

class Fuzzer {
  public:
    Fuzzer(unsigned seed, const ScratchDir& dir) : m_rng(seed), m_dir(dir) {
        m_texts = {"",
                   "*",
                   "*.*",
                   "?",
                   "a",
                   "sub",
                   "sub\\*",
                   "sub\\x.txt",
                   "x.txt",
                   "..",
                   ".",
                   ",",
                   "@123",
                   "\x80\xfe\xff",
                   "a b c",
                   "*.txt",
                   "new\\deep\\dir"};
        for (std::size_t n : {254u, 255u, 259u, 260u, 4096u})
            m_texts.push_back(std::string(n, static_cast<char>('A' + n % 26)));
        for (const char* rel : {"sub", "sub\\x.txt", "x.txt", "copy", "copy\\*", "*.txt"})
            m_texts.push_back(m_dir / rel);
        m_numbers = {0,  1,  2,     -1,     3,     4,     -4,      7,
                     29, 30, 32767, -32768, 65535, 65536, INT_MIN, INT_MAX};
    }

    // One random call; returns a description of what was called.
    std::string Step() {
        auto& m = OvModule::Get();
        const int which = Pick(24);
        const char* a = Text();
        const char* b = Text();
        const int n = Number(), k = Number();
        switch (which) {
        case 0: {
            std::string w = a;
            w += std::string(1, '\0') + "GUARD";
            m.CreateNewDir(w.data());
            Check(w.compare(w.size() - 5, 5, "GUARD") == 0, "CreateNewDir wrote past the text");
            return "CreateNewDir";
        }
        case 1:
            return Slot("FileCopy", m.FileCopy(a, b, static_cast<short>(n), static_cast<short>(k)));
        case 2: {
            // Sources stay inside the scratch folder: "" is the whole current
            // drive and ".." the shared temporary folder, far too much to copy.
            const std::string source = *a == '\0' || std::string(a) == ".." ? m_dir.path() : a;
            return Slot("DirCopy", m.DirCopy(source.c_str(), (m_dir / "copy").c_str(),
                                             static_cast<short>(n), 1));
        }
        case 3:
            return Slot("FileDelete",
                        m.FileDelete((m_dir / "copy\\*.txt").c_str(), static_cast<short>(n)));
        case 4:
            return Slot("GetFileList", m.GetFileList(a, static_cast<short>(n)));
        case 5:
            return Text("GetFileListName", m.GetFileListName(static_cast<short>(n)));
        case 6:
            m.GetFileListCount();
            return "GetFileListCount";
        case 7:
            return Text("DisplayResList", m.DisplayResList(n));
        case 8:
            return Text("GetVersion", m.GetVersion(a));
        case 9:
            return Slot("GetWindowList", m.GetWindowList(n, k, a, b, static_cast<short>(n)));
        case 10:
            return Text("GetWindowsUserDomain", m.GetWindowsUserDomain(static_cast<short>(n)));
        case 11:
            return Slot("GetWindowsUserGroups", m.GetWindowsUserGroups());
        case 12:
            return Slot("PrintLine", m.PrintLine(a, b));
        case 13:
            m.RASActive(a);
            return Text("RASList", m.RASList());
        case 14:
            return Slot("RASDial", m.RASDial(a, b, a, b));
        case 15:
            return Slot("RASHangUp", m.RASHangUp(a));
        case 16:
            return Text("RASEntries", m.RASEntries());
        case 17:
            m.SetWindowBorder(reinterpret_cast<HWND>(static_cast<intptr_t>(n)),
                              static_cast<short>(k), 0);
            return "SetWindowBorder";
        case 18:
            m.WindowRefresh(reinterpret_cast<HWND>(static_cast<intptr_t>(n)));
            return "WindowRefresh";
        case 19: {
            const short slot = static_cast<short>(n);
            if (slot >= 0 && slot < 30) return Text("GetData", m.GetData(slot));
            Check(std::strcmp(m.GetData(slot), "0") == 0, "GetData out of range is not \"0\"");
            return "GetData";
        }
            return Text("GetData", m.GetData(static_cast<short>(n)));
        case 20:
            m.IsActive(static_cast<short>(n));
            return "IsActive";
        case 21:
            return Text("GetWindowsDir", m.GetWindowsDir());
        case 22:
            return Text("GetComputerName", m.GetComputerName());
        default:
            return Text("GetMyDocDir", m.GetMyDocDir());
        }
    }

    // Collects every request still open; true when all ended.
    bool Drain() {
        auto& m = OvModule::Get();
        bool ok = true;
        for (short s = 0; s < 30; ++s) {
            ok = WaitUntilInactive(m, s) && ok;
            Check(std::strlen(m.GetData(s)) <= 254, "GetData text over 254");
        }
        return ok;
    }

    std::vector<std::string> failures;
    int calls = 0;

  private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    const char* Text() { return m_texts[Pick(static_cast<int>(m_texts.size()))].c_str(); }
    int Number() {
        if (Pick(4) == 0) return static_cast<int>(m_rng());
        return m_numbers[Pick(static_cast<int>(m_numbers.size()))];
    }
    void Check(bool ok, const std::string& what) {
        if (!ok) failures.push_back(what + " (call " + std::to_string(calls) + ")");
    }
    std::string Text(const char* name, const char* text) {
        Check(text != nullptr, std::string(name) + " returned null");
        if (!text) return name;
        Check(std::strlen(text) <= 254, std::string(name) + " text over 254");
        auto [it, fresh] = m_buffers.emplace(name, text);
        Check(fresh || it->second == text, std::string(name) + " changed its buffer");
        return name;
    }
    std::string Slot(const char* name, short slot) {
        Check(slot >= -1 && slot <= 29, std::string(name) + " slot out of range");
        if (slot >= 0 && Pick(3) == 0) {
            // Sometimes collect at once, sometimes leave it running or uncollected.
            auto& m = OvModule::Get();
            WaitUntilInactive(m, slot);
            Text("GetData", m.GetData(slot));
        }
        if (slot == -1) Drain();
        return name;
    }

    std::mt19937 m_rng;
    const ScratchDir& m_dir;
    std::vector<std::string> m_texts;
    std::vector<int> m_numbers;
    std::map<std::string, const char*> m_buffers;
};

} // namespace

TEST(CoreFuzz, RandomCallsKeepEveryInvariant) {
    const unsigned seed = Seed();
    RecordProperty("seed", static_cast<int>(seed));
    ScratchDir dir;
    // Relative names land in the scratch folder, never beside the test program.
    ASSERT_TRUE(SetCurrentDirectoryA(dir.path().c_str()));
    CreateDirectoryA((dir / "sub").c_str(), nullptr);
    WriteTextFile(dir / "x.txt", "x");
    WriteTextFile(dir / "sub\\x.txt", "y");
    Fuzzer fuzz(seed, dir);
    const DWORD start = GetTickCount();
    const DWORD limit = Seconds() * 1000;
    std::string last;
    while (GetTickCount() - start < limit && fuzz.failures.empty()) {
        last = fuzz.Step();
        ++fuzz.calls;
    }
    EXPECT_TRUE(fuzz.Drain()) << "a slot stayed active; seed " << seed;
    for (const auto& f : fuzz.failures)
        ADD_FAILURE() << f << "; last call " << last << "; seed " << seed;
    std::printf("fuzz: seed %u, %d calls in %lu ms\n", seed, fuzz.calls, GetTickCount() - start);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    SetCurrentDirectoryA(temp);
}
