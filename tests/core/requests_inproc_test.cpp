// The request protocol in-process, with worker classes of the tests' own.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/app.h"
#include "core/worker.h"
#include "core/handles.h"
#include "support/wait_for.h"

namespace {

// Finishes with a given text, optionally after an event is set.
class CTestEcho : public CSlotWorker {
    DECLARE_WORKER(CTestEcho)
  public:
    BOOL Start(std::string text, HANDLE release) {
        m_text = std::move(text);
        m_release = release;
        return CreateThread();
    }
    BOOL InitInstance() override {
        if (m_release) WaitForSingleObject(m_release, INFINITE);
        return FinishRequest(m_text);
    }
    std::string m_text;
    HANDLE m_release = nullptr;
};
IMPLEMENT_DYNCREATE(CTestEcho)

// Faults in the middle of its job, outside any frame.
class CTestCrash : public CSlotWorker {
    DECLARE_WORKER(CTestCrash)
  public:
    BOOL InitInstance() override {
        m_pSlot->SetText("partial");
        int* volatile bad = reinterpret_cast<int*>(0x10);
        return *bad;
    }
};
IMPLEMENT_DYNCREATE(CTestCrash)

// Ends through the message loop, publishing in ExitInstance.
class CTestQuit : public CSlotWorker {
    DECLARE_WORKER(CTestQuit)
  public:
    BOOL InitInstance() override {
        PostQuitMessage(0);
        return TRUE;
    }
    int ExitInstance() override {
        SetFinalText("quit");
        return CWinThread::ExitInstance();
    }
};
IMPLEMENT_DYNCREATE(CTestQuit)

COvDEvedApp& App() { return TheApp(); }

short Echo(const std::string& text, HANDLE release = nullptr) {
    return App().StartRequest<CTestEcho>("CTest::Echo", "-1",
                                         [&](CTestEcho& w) { return w.Start(text, release); });
}

std::string WaitAndCollect(short slot) { return WaitForSlot(App(), slot); }

class CoreRequests : public ::testing::Test {
  protected:
    void SetUp() override { App().m_slots.Reset(); }
    void TearDown() override { App().m_slots.Reset(); }
};

} // namespace

TEST_F(CoreRequests, ResultTextIsCutTo254ByGetData) {
    const short slot = Echo(std::string(300, 'r'));
    EXPECT_EQ(WaitAndCollect(slot), std::string(254, 'r'));
}

TEST_F(CoreRequests, FailedStartReleasesTheSlotWithItsInitialText) {
    const short slot =
        App().StartRequest<CTestEcho>("CTest::Echo", "-1", [](CTestEcho&) { return FALSE; });
    EXPECT_EQ(slot, 0) << "the number is returned even so";
    EXPECT_EQ(App().IsActive(slot), 0);
    EXPECT_STREQ(App().GetData(slot), "-1");
    const short empty =
        App().StartRequest<CTestEcho>("CTest::Echo", "", [](CTestEcho&) { return FALSE; });
    EXPECT_EQ(empty, 0);
    EXPECT_STREQ(App().GetData(empty), "");
}

TEST_F(CoreRequests, FailureAfterTheClaimNeverLeavesTheSlotActive) {
    const short slot = App().StartRequest<CTestEcho>(
        "CTest::Throw", "-1", [](CTestEcho&) -> BOOL { throw std::runtime_error("boom"); });
    EXPECT_EQ(slot, 0);
    EXPECT_EQ(App().IsActive(slot), 0);
    EXPECT_TRUE(App().m_slots[0].IsFree());
}

TEST_F(CoreRequests, JobThatFaultsStillEndsInactive) {
    const short slot = App().StartRequest<CTestCrash>(
        "CTest::Crash", "-1", [](CTestCrash& w) { return w.CreateThread(); });
    EXPECT_EQ(WaitAndCollect(slot), "partial");
}

TEST_F(CoreRequests, WorkerCanEndThroughItsMessageLoop) {
    const short slot = App().StartRequest<CTestQuit>("CTest::Quit", "-1",
                                                     [](CTestQuit& w) { return w.CreateThread(); });
    EXPECT_EQ(WaitAndCollect(slot), "quit");
}

TEST_F(CoreRequests, EarlyGetDataNeverFreesTheSlotUnderItsWorker) {
    ov::UniqueHandle release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const short slot = Echo("done", release.get());
    ASSERT_EQ(slot, 0);
    EXPECT_EQ(App().IsActive(slot), 1);
    EXPECT_STREQ(App().GetData(slot), "-1") << "the text as it stands";
    EXPECT_EQ(Echo("other"), 1) << "slot 0 still belongs to its running worker";
    SetEvent(release.get());
    ASSERT_TRUE(WaitUntilInactive(App(), slot));
    EXPECT_TRUE(App().m_slots[0].IsFree()) << "free once the worker finished";
    EXPECT_EQ(WaitAndCollect(1), "other");
    EXPECT_EQ(Echo("again"), 0);
    EXPECT_EQ(WaitAndCollect(0), "again");
}

TEST_F(CoreRequests, ConcurrentClaimsNeverShareASlot) {
    COperationSlotTable table;
    std::vector<std::vector<int>> claimed(4);
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            while (!go)
                std::this_thread::yield();
            for (int s; (s = table.Claim()) >= 0;)
                claimed[t].push_back(s);
        });
    go = true;
    for (auto& th : threads)
        th.join();
    std::multiset<int> all;
    for (auto& c : claimed)
        all.insert(c.begin(), c.end());
    EXPECT_EQ(all.size(), 30u);
    EXPECT_EQ(std::set<int>(all.begin(), all.end()).size(), 30u) << "a slot handed out twice";
}

TEST_F(CoreRequests, ManyRequestsFromSeveralThreadsKeepTheirOwnAnswers) {
    // Calls that share a result buffer are serialised by the host, as here.
    std::mutex getDataTurn;
    std::atomic<int> mixedUp{0}, served{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 300; ++i) {
                const std::string text = std::to_string(t) + ":" + std::to_string(i);
                short slot;
                while ((slot = Echo(text)) < 0)
                    Sleep(0);
                if (!WaitUntilInactive(App(), slot)) return;
                const std::lock_guard<std::mutex> turn(getDataTurn);
                if (App().GetData(slot) != text) ++mixedUp;
                ++served;
            }
        });
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(served, 900);
    EXPECT_EQ(mixedUp, 0);
    for (int i = 0; i < 30; ++i)
        EXPECT_TRUE(App().m_slots[i].IsFree());
}
