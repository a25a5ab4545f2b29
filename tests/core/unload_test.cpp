// Unloading the module while its workers run, and loading it again.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

#include "core/handles.h"
#include "support/ov_module.h"
#include "support/wait_for.h"

namespace {

using FileCopyFn = short(__cdecl*)(const char*, const char*, short, short);
using SlotFn = short(__cdecl*)(short);
using DataFn = const char*(__cdecl*)(short);

struct Loaded {
    HMODULE handle;
    FileCopyFn fileCopy;
    SlotFn IsActive;
    DataFn GetData;
};

template <class F> F Fn(HMODULE h, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(h, name)));
}

Loaded Load() {
    HMODULE h = LoadLibraryA(OvModule::Path().c_str());
    EXPECT_NE(h, nullptr);
    return {h, Fn<FileCopyFn>(h, "FileCopy"), Fn<SlotFn>(h, "IsActive"), Fn<DataFn>(h, "GetData")};
}

bool ModuleGone(DWORD timeoutMs) {
    return WaitFor([] { return !GetModuleHandleA("OvDurAru.dll"); }, timeoutMs, "the unload");
}

void MakeBigFile(const std::string& path, std::size_t bytes) {
    WriteTextFile(path, std::string(bytes, 'b'));
}

// The host's own last-chance handler: a fault on the watched thread ends that
// thread with kReachedHost.
constexpr DWORD kReachedHost = 0x600D;
std::atomic<DWORD> g_watchedThread{0};
std::atomic<DWORD> g_hostSawCode{0};

LONG WINAPI HostFilter(EXCEPTION_POINTERS* e) {
    if (GetCurrentThreadId() != g_watchedThread) return EXCEPTION_CONTINUE_SEARCH;
    g_hostSawCode = e->ExceptionRecord->ExceptionCode;
    ExitThread(kReachedHost);
}

struct HostThreadRun {
    bool systemCodeHandledItsOwnFaults = false;
    DWORD exitCode = 0;
};

struct HostThreadJob {
    std::function<void()> calls;
    HostThreadRun run;
};

DWORD WINAPI HostThreadProc(void* p) {
    auto* job = static_cast<HostThreadJob*>(p);
    g_watchedThread = GetCurrentThreadId();
    job->calls();
    const char* volatile bad = reinterpret_cast<const char*>(0x20);
    job->run.systemCodeHandledItsOwnFaults = IsBadReadPtr(bad, 4) && lstrlenA(bad) == 0;
    g_hostSawCode = 0;
    (void)*reinterpret_cast<const volatile int*>(bad);
    return 0;
}

// Runs calls on a host thread, then lets system code meet a bad pointer (it
// handles that itself), then faults in the host's own code, outside any frame
// of the module: that fault must reach the host's handler.
HostThreadRun CallThenFaultOnAHostThread(std::function<void()> calls) {
    HostThreadJob job{std::move(calls), {}};
    LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(&HostFilter);
    const ov::UniqueHandle thread(CreateThread(nullptr, 0, &HostThreadProc, &job, 0, nullptr));
    if (!thread) {
        ADD_FAILURE() << "cannot start the host thread";
        return {};
    }
    if (WaitForSingleObject(thread.get(), 30000) != WAIT_OBJECT_0)
        ADD_FAILURE() << "the host thread that faulted did not end within 30 s";
    GetExitCodeThread(thread.get(), &job.run.exitCode);
    g_watchedThread = 0;
    EXPECT_EQ(SetUnhandledExceptionFilter(previous), &HostFilter)
        << "someone replaced the host's last-chance handler";
    return job.run;
}

} // namespace

TEST(CoreUnload, HostThreadsKeepTheirOwnFaultHandlingBeforeWithAndAfterTheModule) {
    auto expectReachedHost = [](const HostThreadRun& run, const char* when) {
        EXPECT_TRUE(run.systemCodeHandledItsOwnFaults) << when;
        EXPECT_EQ(run.exitCode, kReachedHost) << when << ": the host's handler missed its fault";
        EXPECT_EQ(g_hostSawCode.load(), DWORD(EXCEPTION_ACCESS_VIOLATION)) << when;
    };
    expectReachedHost(CallThenFaultOnAHostThread([] {}), "before loading");

    Loaded m = Load();
    using TextFn = const char*(__cdecl*)(const char*);
    auto getVersion = Fn<TextFn>(m.handle, "GetVersion");
    auto rasActive = Fn<short(__cdecl*)(const char*)>(m.handle, "RASActive");
    const int logged = CountLogLines("COvDEvedApp::GetVersion");
    expectReachedHost(CallThenFaultOnAHostThread([&] {
                          // Faults inside the module's frames stay there.
                          EXPECT_STREQ(getVersion(reinterpret_cast<const char*>(0x10)), "");
                          EXPECT_EQ(rasActive(reinterpret_cast<const char*>(0x10)), 0);
                          EXPECT_STREQ(getVersion(OvModule::Path().c_str()), "3.5");
                      }),
                      "after faults inside the module");
    EXPECT_EQ(CountLogLines("COvDEvedApp::GetVersion"), logged + 1);

    ASSERT_TRUE(FreeLibrary(m.handle));
    ASSERT_TRUE(ModuleGone(60000));
    expectReachedHost(CallThenFaultOnAHostThread([] {}), "after unloading");
}

TEST(CoreUnload, FreeLibraryWhileThirtyWorkersRunThenLoadCleanAgain) {
    ScratchDir dir;
    MakeBigFile(dir / "big.bin", 8 << 20);
    Loaded m = Load();
    for (short i = 0; i < 30; ++i) {
        const std::string dst = dir / ("copy" + std::to_string(i));
        ASSERT_EQ(m.fileCopy((dir / "big.bin").c_str(), dst.c_str(), 0, 0), i);
    }
    ASSERT_TRUE(FreeLibrary(m.handle));
    // The module stays until its last worker has ended, then goes away.
    ASSERT_TRUE(ModuleGone(120000));
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(ReadTextFile(dir / ("copy" + std::to_string(i))).size(), 8u << 20) << i;

    Loaded again = Load();
    EXPECT_EQ(again.GetData(0)[0], '\0') << "fresh slots";
    const short slot = again.fileCopy((dir / "big.bin").c_str(), (dir / "last").c_str(), 0, 1);
    EXPECT_EQ(slot, 0);
    EXPECT_EQ(WaitForSlot(again, slot), "1");
    FreeLibrary(again.handle);
}

TEST(CoreUnload, LoadingAgainBeforeWorkersEndKeepsTheirResults) {
    ScratchDir dir;
    MakeBigFile(dir / "big.bin", 4 << 20);
    Loaded m = Load();
    for (short i = 0; i < 10; ++i)
        ASSERT_EQ(
            m.fileCopy((dir / "big.bin").c_str(), (dir / ("c" + std::to_string(i))).c_str(), 0, 0),
            i);
    FreeLibrary(m.handle);
    Loaded again = Load();
    for (short i = 0; i < 10; ++i) {
        EXPECT_EQ(WaitForSlot(again, i), "1") << i;
    }
    FreeLibrary(again.handle);
    EXPECT_TRUE(ModuleGone(60000));
}
