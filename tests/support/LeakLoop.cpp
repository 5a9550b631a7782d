#include "LeakLoop.h"

#include "tests/support/LeakCounters.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <tuple>
#include <vector>
#include <windows.h>

namespace kstest {

namespace {

struct Counts
{
    long long blocks = 0, bytes = 0, gdi = 0, windows = 0;
};

struct State
{
    std::vector<HeapBlock> heap;
    Counts counts;
};

// The state after a batch. The previous state's list is still alive while
// the heap is walked: its buffer is the loop's, not the work's.
State Take(State const *pPrevious)
{
    State s;
    s.heap = HeapBlocks();
    if (pPrevious)
        std::erase_if(s.heap, [p = pPrevious->heap.data()](HeapBlock const &b) { return b.address == p; });
    s.counts.blocks = static_cast<long long>(s.heap.size());
    for (HeapBlock const &b : s.heap)
        s.counts.bytes += static_cast<long long>(b.size);
    s.counts.gdi = static_cast<long long>(GdiObjectCount());
    s.counts.windows = static_cast<long long>(ThreadWindowCount());
    return s;
}

using Growth = Counts;

// The platform keeps a cached window DC (three GDI objects) for every window
// DC it ever had to hand out at once, and frees none. Work that overlaps a
// paint with a drawing thread reaches a new peak only on a rare overlap,
// which can come long after the counters looked settled; holding more DCs at
// once than such work ever does takes the cache to its size first. A DC that
// the work keeps still shows: it uses up the spare entries in the first
// batch and grows the cache in every batch after.
void FillWindowDcCache()
{
    static bool filled = false;
    if (filled)
        return;
    filled = true;
    HWND const w = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
    if (!w)
        return;
    HDC dcs[8];
    for (HDC &dc : dcs)
        dc = GetDC(w);
    for (HDC dc : dcs)
        if (dc)
            ReleaseDC(w, dc);
    DestroyWindow(w);
}

Growth Between(Counts const &a, Counts const &b)
{
    return Growth{b.blocks - a.blocks, b.bytes - a.bytes, b.gdi - a.gdi, b.windows - a.windows};
}

bool AddsNothing(Growth const &g, bool bytes)
{
    return g.blocks <= 0 && g.gdi <= 0 && g.windows <= 0 && (!bytes || g.bytes <= 0);
}

// "64 B x28, 78912 B x1": the sizes of the blocks of one list missing from
// the other.
std::string SizesOfNew(std::vector<HeapBlock> const &rFrom, std::vector<HeapBlock> const &rTo)
{
    auto key = [](HeapBlock const &b) { return std::make_tuple(b.heap, b.address, b.size); };
    auto less = [&](HeapBlock const &a, HeapBlock const &b) { return key(a) < key(b); };
    std::vector<HeapBlock> from(rFrom), to(rTo), added;
    std::sort(from.begin(), from.end(), less);
    std::sort(to.begin(), to.end(), less);
    std::set_difference(to.begin(), to.end(), from.begin(), from.end(), std::back_inserter(added), less);
    std::map<std::size_t, int> bySize;
    for (HeapBlock const &b : added)
        ++bySize[b.size];
    std::ostringstream out;
    char const *sep = "";
    for (auto const &[size, n] : bySize) {
        out << sep << size << " B x" << n;
        sep = ", ";
    }
    return bySize.empty() ? std::string("none") : out.str();
}

std::string Describe(Growth const &g, bool bytes)
{
    std::ostringstream out;
    out << "heap blocks " << std::showpos << g.blocks;
    if (bytes)
        out << ", heap bytes " << g.bytes;
    out << ", GDI objects " << g.gdi << ", windows " << g.windows;
    return out.str();
}

} // namespace

testing::AssertionResult ImpNoGrowthOnceSettled(Settle const &rSettle, std::function<void(int)> const &cycle)
{
    if (rSettle.batch < 1 || rSettle.measured < 1 || rSettle.maxWarmUp < 2)
        return testing::AssertionFailure() << "a leak loop needs batches of at least one cycle, at least one "
                                              "measured batch and room for two warm-up batches";
    // Room for the history is made before the first count: the loop's own
    // allocations must not land between two counts.
    std::vector<Growth> warmUp;
    warmUp.reserve(static_cast<std::size_t>(rSettle.maxWarmUp));
    FillWindowDcCache();
    int next = 0;
    auto runBatch = [&] {
        for (int i = 0; i < rSettle.batch; ++i)
            cycle(next++);
    };

    State before = Take(nullptr);
    Counts settled; // where the counters stood when the quiet batches began
    for (int quiet = 0; quiet < 2;) {
        runBatch();
        State after = Take(&before);
        Growth const g = Between(before.counts, after.counts);
        warmUp.push_back(g);
        if (!AddsNothing(g, rSettle.bytes))
            quiet = 0;
        else if (quiet++ == 0)
            settled = before.counts;
        if (quiet < 2 && int(warmUp.size()) == rSettle.maxWarmUp) {
            std::ostringstream out;
            out << "the counters did not settle in " << rSettle.maxWarmUp << " batches of " << rSettle.batch
                << " cycles (two in a row must add nothing); growth per batch:";
            for (Growth const &w : warmUp)
                out << "\n  " << Describe(w, rSettle.bytes);
            out << "\nheap blocks that appeared in the last batch: " << SizesOfNew(before.heap, after.heap);
            return testing::AssertionFailure() << out.str();
        }
        before = std::move(after);
    }
    // A cache may give some back and take it again; only a rise above the
    // settled level is growth.
    for (int m = 1; m <= rSettle.measured; ++m) {
        runBatch();
        State after = Take(&before);
        Growth const g = Between(settled, after.counts);
        if (!AddsNothing(g, rSettle.bytes))
            return testing::AssertionFailure()
                   << "settled after " << warmUp.size() << " batches of " << rSettle.batch << " cycles, then batch "
                   << m << " of " << rSettle.measured << " grew: " << Describe(g, rSettle.bytes)
                   << "; heap blocks that appeared in it: " << SizesOfNew(before.heap, after.heap)
                   << "; gone: " << SizesOfNew(after.heap, before.heap);
        before = std::move(after);
    }
    return testing::AssertionSuccess();
}

} // namespace kstest
