// One dispatch pass of the timer engine over 1,000 live timers, against a
// plain loop that calls 1,000 std::function objects: what the engine adds per
// timer on top of the call itself (lock, scan, flags, link copies, the
// rescheduling of the platform timer).
#include "bench/BenchHarness.h"
#include "frame/AutoTimer.h"
#include "frame/KSGlobal.h"
#include "frame/Link.h"
#include "frame/TimerManager.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

class Counter : public LinkHdl
{
public:
    __int64 OnTimeout(void *p)
    {
        n += p != nullptr;
        return 0;
    }
    long n = 0;
};

} // namespace

int main()
{
    KSInit();
    constexpr int N = 1000;
    int const rounds = 41;
    Counter counter;
    Link const link(&counter, &Counter::OnTimeout);

    std::vector<std::unique_ptr<AutoTimer>> timers;
    std::vector<std::function<__int64(void *)>> functions;
    for (int i = 0; i < N; ++i) {
        timers.push_back(std::make_unique<AutoTimer>());
        // Timeout 0: every timer is due at every pass.
        timers.back()->Start(link, 0);
        functions.emplace_back([&counter](void *p) { return counter.OnTimeout(p); });
    }
    TimerManager *engine = TimerManager::GetTimerManager();
    if (!engine) {
        std::printf("TimerBench: no timer engine\n");
        return 1;
    }

    auto plainLoop = [&] {
        for (int i = 0; i < N; ++i)
            functions[i](timers[i].get());
    };
    bench::Result due = bench::Compare("Timer pass, 1,000 due timers", "1,000 std::function", rounds,
                                       plainLoop, [&] { engine->Dispatch(); });
    std::printf("  per timer: %.4f us (baseline %.4f us)\n", due.candidateUs / N, due.baselineUs / N);

    // The same timers, none due: the cost of the scan alone.
    for (auto &t : timers)
        t->Start(60000);
    bench::Result idle = bench::Compare("Timer pass, 1,000 timers none due", "1,000 std::function", rounds,
                                        plainLoop, [&] { engine->Dispatch(); });
    std::printf("  per timer: %.4f us (baseline %.4f us)\n", idle.candidateUs / N, idle.baselineUs / N);

    bench::Keep(counter.n);
    timers.clear();
    KSExit();
    return 0;
}
