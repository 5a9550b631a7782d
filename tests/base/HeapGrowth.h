#pragma once
// The leak measure of the base and docking tests: heap blocks gained over
// repeated rounds of work, after warm-up rounds that let first-use
// allocations (runtime caches, size classes) settle outside the window.
#include "tests/support/LeakCounters.h"

namespace kstest {

template <class Round> long long HeapGrowth(int warm, int rounds, Round round)
{
    for (int i = 0; i < warm; ++i)
        round();
    auto const before = static_cast<long long>(CurrentHeapUsage().blocks);
    for (int i = 0; i < rounds; ++i)
        round();
    return static_cast<long long>(CurrentHeapUsage().blocks) - before;
}

} // namespace kstest
