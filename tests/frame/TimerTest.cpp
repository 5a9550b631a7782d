// Timers and their engine: single passes driven through Dispatch, then real
// thread timers under a message loop (never timed finer than Wine's 10 ms).
#include "frame/AutoTimer.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "frame/TimerManager.h"
#include "tests/support/LeakCounters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <random>
#include <thread>
#include <unordered_map>
#include <vector>
#include <windows.h>

namespace {

// Counts calls, from any thread; an optional action runs inside the handler.
class Recorder : public LinkHdl
{
public:
    Link Hdl() { return Link(this, &Recorder::OnTimeout); }
    __int64 OnTimeout(void *p)
    {
        wrongThread += GetCurrentThreadId() != uiThread;
        ++calls;
        if (action)
            action(static_cast<Timer *>(p));
        return 0;
    }
    std::atomic<int> calls{0}, wrongThread{0};
    DWORD const uiThread = GetCurrentThreadId();
    std::function<void(Timer *)> action;
};

bool PumpUntil(std::function<bool()> const &done, DWORD timeoutMs,
               std::function<void(MSG const &)> const &inspect = nullptr)
{
    for (DWORD const start = GetTickCount();;) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (inspect)
                inspect(m);
            DispatchMessageA(&m);
        }
        if (done())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }

class TimerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        Timer first; // the engine exists from the first start on
        first.Start(60000);
        ASSERT_NE(TimerManager::GetTimerManager(), nullptr);
    }
    void TearDown() override
    {
        if (GetPKSData())
            KSExit();
    }
    static TimerManager &Engine() { return *TimerManager::GetTimerManager(); }
};

} // namespace

TEST(TimerWithoutInit, StartIsInertAndDestroyingTheEngineFreesAndDeactivates)
{
    ASSERT_EQ(GetPKSData(), nullptr);
    Recorder r;
    Timer t;
    t.Start(r.Hdl(), 25);
    EXPECT_FALSE(t.IsActive());
    EXPECT_EQ(TimerManager::GetTimerManager(), nullptr);

    Timer a;
    AutoTimer b;
    delete new TimerManager(false); // the thread's first platform timer allocates
    auto const before = kstest::CurrentHeapUsage();
    auto *m = new TimerManager(false);
    m->InsertTimer(&a);
    m->InsertTimer(&b);
    EXPECT_TRUE(a.IsActive());
    delete m;
    EXPECT_FALSE(a.IsActive() || b.IsActive());
    EXPECT_EQ(kstest::CurrentHeapUsage().bytes, before.bytes);
}

TEST_F(TimerTest, OneShotIsInactiveInItsHandlerAndMayStartItselfAgain)
{
    Recorder r;
    Timer t;
    bool activeInHandler = true;
    r.action = [&](Timer *p) {
        EXPECT_EQ(p, &t);
        activeInHandler = t.IsActive();
        if (r.calls == 1)
            t.Start();
    };
    t.Start(r.Hdl(), 0);
    Engine().Dispatch();
    EXPECT_FALSE(activeInHandler);
    EXPECT_TRUE(t.IsActive());
    Engine().Dispatch();
    Engine().Dispatch();
    EXPECT_EQ(r.calls, 2);
    EXPECT_EQ(Engine().GetTimerCount(), 0u);
    EXPECT_EQ(Engine().GetPlatformTimerId(), 0);
}

TEST_F(TimerTest, PassSkipsTimersStoppedOrDeletedEarlierAndDefersNewStarts)
{
    std::vector<char> order;
    Recorder ra, rb, rc, rd, re, rs;
    AutoTimer a, b, d, e;
    auto *c = new AutoTimer;
    auto *self = new Timer;
    ra.action = [&](Timer *) {
        order.push_back('a');
        if (ra.calls == 1) {
            b.Stop();
            delete c;
            e.Stop();
            e.Start();
            d.Start(rd.Hdl(), 0);
        }
    };
    rb.action = [&](Timer *) { order.push_back('b'); };
    rd.action = [&](Timer *) { order.push_back('d'); };
    re.action = [&](Timer *) { order.push_back('e'); };
    rs.action = [&](Timer *p) { delete p; };
    a.Start(ra.Hdl(), 0); // first in the list: its handler runs first
    e.Start(re.Hdl(), 0);
    b.Start(rb.Hdl(), 0);
    c->Start(rc.Hdl(), 0);
    self->Start(rs.Hdl(), 0);
    Engine().Dispatch();
    EXPECT_EQ(order, (std::vector<char>{'a'}));
    EXPECT_EQ(rs.calls, 1);
    Engine().Dispatch();
    EXPECT_EQ(order, (std::vector<char>{'a', 'a', 'e', 'd'}));
    EXPECT_EQ(rb.calls + rc.calls, 0);
}

TEST_F(TimerTest, CopiesAndAssignmentsTakeTheSourcesStateUnderTheirOwnIds)
{
    Recorder r, other;
    AutoTimer a;
    a.Start(r.Hdl(), 0);
    AutoTimer b(a);
    Timer c(a), idle, d;
    EXPECT_NE(b.GetNId(), a.GetNId());
    d.Start(other.Hdl(), 5000);
    unsigned int const id = d.GetNId();
    d = a;
    EXPECT_EQ(d.GetNId(), id);
    Engine().Dispatch();
    Engine().Dispatch();
    EXPECT_EQ(r.calls, 8); // repetition is copied, also into a plain Timer
    EXPECT_EQ(other.calls, 0);
    d = idle;
    EXPECT_FALSE(d.IsActive());
    EXPECT_EQ(Engine().GetTimerCount(), 3u);
}

TEST_F(TimerTest, PeriodTakesTheShortestTimeoutWithinOneTo65533)
{
    Timer t500, t200, big;
    AutoTimer t50, zero;
    t500.Start(500);
    t50.Start(50);
    t200.Start(200);
    EXPECT_EQ(Engine().GetInterval(), 50u);
    t50.ChangeTimeout(20);
    EXPECT_EQ(Engine().GetInterval(), 20u);
    zero.Start(0);
    Engine().Dispatch();
    EXPECT_EQ(Engine().GetInterval(), 1u); // due again at every pass
    t500.Stop();
    t200.Stop();
    t50.Stop();
    zero.Stop();
    EXPECT_EQ(Engine().GetPlatformTimerId(), 0);
    big.Start(100000); // not shorter than the idle period, yet it must run
    EXPECT_NE(Engine().GetPlatformTimerId(), 0);
    EXPECT_EQ(Engine().GetInterval(), 65533u);
}

TEST_F(TimerTest, RealTimersFireOnTimeAndAModalLoopInAHandlerHoldsThemAll)
{
    Recorder once, ra, rb;
    Timer t;
    AutoTimer a, b;
    unsigned long firedAt = 0;
    once.action = [&](Timer *) { firedAt = Engine().GetTime(); };
    bool inModal = false;
    int calledDuringModal = 0;
    ra.action = [&](Timer *) {
        if (ra.calls == 1) {
            inModal = true;
            PumpFor(150);
            inModal = false;
        }
    };
    rb.action = [&](Timer *) { calledDuringModal += inModal; };
    unsigned long const start = Engine().GetTime();
    t.Start(once.Hdl(), 100);
    a.Start(ra.Hdl(), 10);
    b.Start(rb.Hdl(), 10);
    ASSERT_TRUE(PumpUntil([&] { return once.calls && ra.calls >= 3 && rb.calls >= 3; }, 5000));
    EXPECT_GE(firedAt - start, 100u);
    EXPECT_EQ(calledDuringModal, 0);
    a.Stop();
    b.Stop();
    int const calls = ra.calls;
    PumpFor(100);
    EXPECT_EQ(once.calls, 1);
    EXPECT_EQ(ra.calls, calls);
    EXPECT_EQ(Engine().GetPlatformTimerId(), 0);
}

TEST_F(TimerTest, ThousandTimersOfMixedPeriodsShareOnePlatformTimer)
{
    constexpr int N = 1000;
    std::vector<std::unique_ptr<Timer>> timers;
    std::unordered_map<Timer *, int> index;
    std::vector<int> calls(N, 0);
    Recorder r;
    r.action = [&](Timer *t) { ++calls[index.at(t)]; };
    for (int i = 0; i < N; ++i) {
        timers.push_back(i % 4 ? std::make_unique<Timer>() : std::make_unique<AutoTimer>());
        index[timers.back().get()] = i;
        timers.back()->Start(r.Hdl(), 10 + (i * 37) % 200);
    }
    int ticks = 0, strangers = 0;
    LPARAM proc = 0;
    auto inspect = [&](MSG const &m) {
        if (m.message != WM_TIMER)
            return;
        proc = proc ? proc : m.lParam;
        ++ticks;
        strangers += m.hwnd || m.wParam != Engine().GetPlatformTimerId() || m.lParam != proc;
    };
    ASSERT_TRUE(PumpUntil([&] { return std::count(calls.begin(), calls.end(), 0) == 0; }, 20000, inspect));
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(strangers, 0);
    for (int i = 0; i < N; ++i)
        ASSERT_TRUE(i % 4 == 0 || calls[i] == 1) << "one-shot timer " << i;
    EXPECT_EQ(Engine().GetTimerCount(), unsigned(N / 4));
    timers.clear();
    EXPECT_EQ(Engine().GetPlatformTimerId(), 0);
}

TEST_F(TimerTest, SecondThreadStartsAndStopsTimersWhileTheLoopDispatches)
{
    Recorder keeperRec, churnRec;
    AutoTimer keeper;
    keeper.Start(keeperRec.Hdl(), 15);
    constexpr int kLasting = 8;
    std::array<Recorder, kLasting> lastingRec;
    std::array<AutoTimer, kLasting> lasting;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        std::mt19937 rng(7);
        std::vector<std::unique_ptr<Timer>> pool(32);
        for (int i = 0; i < 20000; ++i) {
            auto &slot = pool[rng() % pool.size()];
            unsigned const op = rng() % 4;
            if (op == 0)
                slot.reset(rng() % 2 ? new AutoTimer : new Timer);
            if (op == 0 || (op == 1 && slot))
                slot->Start(churnRec.Hdl(), rng() % 30);
            else if (op == 2 && slot)
                slot->Stop();
            else if (op == 3)
                slot.reset();
            if (i % 50 == 0)
                Sleep(1);
        }
        pool.clear();
        // Shorter than the loop thread's period: its next pass takes it up.
        for (int k = 0; k < kLasting; ++k)
            lasting[k].Start(lastingRec[k].Hdl(), 5);
        done = true;
    });
    bool const finished = PumpUntil([&] {
        return done && std::all_of(lastingRec.begin(), lastingRec.end(), [](Recorder const &r) { return r.calls >= 3; });
    }, 30000);
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_GT(churnRec.calls, 0);
    int wrong = churnRec.wrongThread + keeperRec.wrongThread;
    for (auto const &r : lastingRec)
        wrong += r.wrongThread;
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(Engine().GetTimerCount(), unsigned(kLasting + 1));
    EXPECT_LE(Engine().GetInterval(), 5u);
}

TEST_F(TimerTest, TimersLeaveNothingBehindAndExitDeactivatesTheRest)
{
    auto round = [&] {
        Recorder r;
        std::vector<std::unique_ptr<Timer>> timers;
        for (int i = 0; i < 300; ++i) {
            timers.push_back(i % 2 ? std::make_unique<AutoTimer>() : std::make_unique<Timer>());
            timers.back()->Start(r.Hdl(), i % 3 ? 0 : 60000);
        }
        // Each call deletes a timer, often one that is due in the same pass.
        r.action = [&](Timer *) {
            if (r.calls < int(timers.size()))
                timers[r.calls].reset();
        };
        Engine().Dispatch();
        Engine().Dispatch();
        timers.clear();
        EXPECT_EQ(Engine().GetTimerCount(), 0u);
    };
    round(); // the engine's lists reach their size once
    auto const before = kstest::CurrentHeapUsage();
    round();
    EXPECT_EQ(kstest::CurrentHeapUsage().bytes, before.bytes);

    Recorder r;
    AutoTimer a;
    a.Start(r.Hdl(), 0);
    KSExit();
    EXPECT_FALSE(a.IsActive());
    PumpFor(50);
    EXPECT_EQ(r.calls, 0);
    KSInit();
    a.Start();
    ASSERT_TRUE(PumpUntil([&] { return r.calls >= 2; }, 5000));
}
