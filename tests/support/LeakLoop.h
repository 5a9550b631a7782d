#pragma once
// The leak loop every leak test runs: repeat the work in batches until the
// process has settled, then require that further batches leave nothing
// behind. The platform fills some caches lazily, over several calls or on a
// thread of its own, so one warm-up call proves nothing either way; a cache
// stops growing, a leak does not.
#include <functional>
#include <gtest/gtest.h>
#include <type_traits>

namespace kstest {

struct Settle
{
    int batch;          // cycles per batch: enough that a leak of one block per batch shows
    int measured = 2;   // batches that must add nothing once settled
    int maxWarmUp = 10; // batches allowed before two in a row add nothing
    bool bytes = false; // heap bytes must not grow either (a buffer that is only enlarged)
};

// Runs cycle(0), cycle(1), … in batches of rSettle.batch. Settled means two
// consecutive batches raised none of the counters (heap blocks, GDI objects,
// the thread's windows; heap bytes when asked); after each measured batch
// no counter may stand above where it stood when those two began. On
// failure the message names the counters, the growth of each batch and the
// sizes of the heap blocks that appeared.
testing::AssertionResult ImpNoGrowthOnceSettled(Settle const &rSettle, std::function<void(int)> const &cycle);

template <class Cycle> testing::AssertionResult NoGrowthOnceSettled(Settle const &rSettle, Cycle &&cycle)
{
    if constexpr (std::is_invocable_v<Cycle &, int>)
        return ImpNoGrowthOnceSettled(rSettle, [&cycle](int i) { cycle(i); });
    else
        return ImpNoGrowthOnceSettled(rSettle, [&cycle](int) { cycle(); });
}

} // namespace kstest
