// Timers and their engine: single passes driven through Dispatch, then real
// thread timers under a message loop (never timed finer than Wine's 10 ms).
#include "frame/AutoTimer.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "frame/TimerManager.h"
#include "tests/support/WindowFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

namespace {

// Counts calls, in total and per timer, and whether they came on the loop's thread.
class Recorder : public LinkHdl
{
public:
    Link Hdl() { return Link(this, &Recorder::OnTimeout); }
    __int64 OnTimeout(void *p)
    {
        wrongThread += GetCurrentThreadId() != uiThread;
        ++calls;
        ++perTimer[static_cast<Timer *>(p)];
        if (action)
            action(static_cast<Timer *>(p));
        return 0;
    }
    std::atomic<int> calls{0}, wrongThread{0};
    std::map<Timer *, int> perTimer;
    DWORD const uiThread = GetCurrentThreadId();
    std::function<void(Timer *)> action;
};

using namespace kstest;

class TimerTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        Timer().Start(60000); // the engine exists from the first start on
        ASSERT_NE(TimerManager::GetTimerManager(), nullptr);
    }
    static TimerManager &Engine() { return *TimerManager::GetTimerManager(); }
};

} // namespace

TEST(TimerWithoutInit, StartIsInertAndDestroyingTheEngineFreesAndDeactivates)
{
    ASSERT_EQ(GetPKSData(), nullptr);
    Timer a;
    AutoTimer b;
    a.Start(25);
    EXPECT_FALSE(a.IsActive());
    EXPECT_EQ(TimerManager::GetTimerManager(), nullptr);

    auto cycle = [&] {
        auto *m = new TimerManager(false);
        m->InsertTimer(&a);
        m->InsertTimer(&b);
        EXPECT_TRUE(a.IsActive());
        delete m;
        EXPECT_FALSE(a.IsActive() || b.IsActive());
    };
    // The thread's first platform timer allocates.
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 5, .bytes = true}, cycle));
}

TEST_F(TimerTest, PassSkipsTimersStoppedOrDeletedEarlierAndDefersNewStarts)
{
    std::string order;
    AutoTimer a, b, d, e;
    Timer once; // inactive in its handler ('o'), and it may start itself again
    auto *c = new AutoTimer;
    auto *self = new Timer;
    Recorder r;
    r.action = [&](Timer *p) {
        order += p == &a ? 'a' : p == &b ? 'b' : p == c ? 'c' : p == &d ? 'd' : p == &e ? 'e' : p == self ? 's'
                 : once.IsActive() ? 'O' : 'o';
        if (p == self)
            delete self;
        if (p == &once && r.perTimer[p] == 1)
            once.Start();
        if (p == &a && r.calls == 1) {
            b.Stop();
            delete c;
            e.Stop();
            e.Start();
            d.Start(r.Hdl(), 0);
        }
    };
    for (Timer *t : std::initializer_list<Timer *>{&a, &once, &e, &b, c, self})
        t->Start(r.Hdl(), 0); // in list order: a's handler runs first
    Engine().Dispatch();
    EXPECT_EQ(order, "aos");
    EXPECT_TRUE(once.IsActive());
    Engine().Dispatch();
    Engine().Dispatch();
    EXPECT_EQ(order, "aosaoedaed");
    for (Timer *t : std::initializer_list<Timer *>{&a, &d, &e})
        t->Stop();
    EXPECT_EQ(Engine().GetTimerCount(), 0u);
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
    for (Timer *t : std::initializer_list<Timer *>{&t500, &t200, &t50, &zero})
        t->Stop();
    EXPECT_EQ(Engine().GetPlatformTimerId(), 0);
    big.Start(100000); // not shorter than the idle period, yet it must run
    EXPECT_NE(Engine().GetPlatformTimerId(), 0);
    EXPECT_EQ(Engine().GetInterval(), 65533u);
}

TEST_F(TimerTest, ThousandRealTimersShareOnePlatformTimerAndAModalLoopInAHandlerHoldsThemAll)
{
    constexpr int N = 1000;
    std::vector<std::unique_ptr<Timer>> timers;
    Recorder r;
    unsigned long const start = Engine().GetTime();
    bool inModal = false;
    int early = 0, calledDuringModal = 0;
    r.action = [&](Timer *p) {
        early += r.perTimer[p] == 1 && Engine().GetTime() - start < p->GetTimeout();
        calledDuringModal += inModal;
        if (p == timers[0].get() && r.perTimer[p] == 1) {
            inModal = true;
            PumpFor(150);
            inModal = false;
        }
    };
    for (int i = 0; i < N; ++i) {
        timers.push_back(i % 4 ? std::make_unique<Timer>() : std::make_unique<AutoTimer>());
        timers.back()->Start(r.Hdl(), 10 + (i * 37) % 200);
    }
    int ticks = 0, strangers = 0; // a WM_TIMER of a window or of another thread timer
    auto inspect = [&](MSG const &m) {
        ticks += m.message == WM_TIMER;
        strangers += m.message == WM_TIMER && (m.hwnd || m.wParam != Engine().GetPlatformTimerId());
    };
    ASSERT_TRUE(PumpUntil([&] { return r.perTimer.size() == N && r.perTimer[timers[0].get()] >= 3; }, 20000, inspect));
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(strangers, 0);
    EXPECT_EQ(early, 0);
    EXPECT_EQ(calledDuringModal, 0);
    for (int i = 0; i < N; ++i)
        ASSERT_TRUE(i % 4 == 0 || r.perTimer[timers[i].get()] == 1) << "one-shot timer " << i;
    EXPECT_EQ(Engine().GetTimerCount(), unsigned(N / 4));
    timers.clear();
    EXPECT_EQ(Engine().GetPlatformTimerId(), 0) << "nothing can fire any more";
}

TEST_F(TimerTest, SecondThreadStartsAndStopsTimersWhileTheLoopDispatches)
{
    Recorder keeper, churn, last;
    AutoTimer k, lasting;
    k.Start(keeper.Hdl(), 15);
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
                slot->Start(churn.Hdl(), rng() % 30);
            else if (op == 2 && slot)
                slot->Stop();
            else if (op == 3)
                slot.reset();
            if (i % 50 == 0)
                Sleep(1);
        }
        pool.clear();
        lasting.Start(last.Hdl(), 5); // shorter than the loop's period: its next pass takes it up
        done = true;
    });
    bool const finished = PumpUntil([&] { return done && last.calls >= 3; }, 30000);
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_GT(churn.calls, 0);
    EXPECT_EQ(churn.wrongThread + keeper.wrongThread + last.wrongThread, 0);
    EXPECT_EQ(Engine().GetTimerCount(), 2u);
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
    // The engine's lists reach their size once.
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 1, .bytes = true}, round));

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
