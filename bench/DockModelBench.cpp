// The layout model's two bulk operations on layouts of 50, 200 and 1,000
// panes: neighbour detection on a tiling (a frame split with dividers) and
// turning a row into a holder tree. The baseline is the plainest thing that
// looks at every pair once: a loop over all rectangle pairs summing their
// overlaps. Each line also gives microseconds per element, so that the
// growth from 50 to 1,000 elements can be read off.
#include "bench/BenchHarness.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "docking/DockElement.h"
#include "docking/DockPaneElement.h"
#include "docking/ZnPaneDivider.h"

namespace {

struct R
{
    int l, t, r, b;
};

// n tiles: the largest tile is split across its longer side, near its middle,
// leaving one divider width between the halves.
std::vector<R> Tiling(int n, std::mt19937 &rng)
{
    int w = ZnPaneDivider::GetDefaultWidth();
    std::vector<R> tiles{R{0, 0, 16000, 12000}};
    while (int(tiles.size()) < n) {
        auto it = std::max_element(tiles.begin(), tiles.end(), [](R const &a, R const &b) {
            return (long long)(a.r - a.l) * (a.b - a.t) < (long long)(b.r - b.l) * (b.b - b.t);
        });
        R t = *it;
        bool vertical = t.r - t.l >= t.b - t.t;
        int lo = vertical ? t.l : t.t, hi = vertical ? t.r : t.b;
        int cut = lo + (hi - lo) * (35 + int(rng() % 30)) / 100;
        if (vertical) {
            *it = R{t.l, t.t, cut, t.b};
            tiles.push_back(R{cut + w, t.t, t.r, t.b});
        } else {
            *it = R{t.l, t.t, t.r, cut};
            tiles.push_back(R{t.l, cut + w, t.r, t.b});
        }
    }
    return tiles;
}

std::vector<DockElement *> Elements(std::vector<R> const &tiles)
{
    std::vector<DockElement *> v;
    for (R const &t : tiles) {
        auto *e = new DockPaneElement();
        e->SetRect(CRectangle(t.l, t.t, t.r, t.b));
        v.push_back(e);
    }
    return v;
}

long long PairOverlaps(std::vector<R> const &tiles)
{
    long long sum = 0;
    size_t n = tiles.size();
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j) {
            R const &a = tiles[i], &b = tiles[j];
            int l = std::max(a.l, b.l), r = std::min(a.r, b.r);
            int t = std::max(a.t, b.t), bb = std::min(a.b, b.b);
            if (l < r && t < bb)
                sum += (long long)(r - l) * (bb - t);
        }
    return sum;
}

} // namespace

int main()
{
    constexpr int ROUNDS = 9;
    std::mt19937 rng(3);
    long long sink = 0;
    for (int n : {50, 200, 1000}) {
        std::vector<R> tiles = Tiling(n, rng);
        char name[96];

        // Every round works on elements without neighbour lists: a pool of
        // fresh copies is made outside the timing.
        std::vector<std::vector<DockElement *>> pool;
        for (int i = 0; i < ROUNDS + 1; ++i)
            pool.push_back(Elements(tiles));
        size_t next = 0;
        std::snprintf(name, sizeof name, "DetNeighboursFromRects, %d tiles", n);
        bench::Result r = bench::Compare(
            name, "all-pairs overlap", ROUNDS, [&] { sink += PairOverlaps(tiles); },
            [&] { DockElement::DetNeighboursFromRects(pool[next++ % pool.size()]); });
        size_t links = 0;
        for (DockElement const *e : pool[0])
            links += e->GetNeighbours().size();
        std::printf("    %.3f us per element (baseline %.3f), %.1f neighbours per element\n", r.candidateUs / n,
                    r.baselineUs / n, double(links) / n);
        for (auto &v : pool)
            DockElement::ClearDockElements(v);
        pool.clear();

        // A row of n panes side by side; each round pairs a fresh row.
        std::vector<R> row;
        for (int i = 0; i < n; ++i)
            row.push_back(R{i * 106, 0, i * 106 + 100, 400});
        std::vector<std::vector<DockElement *>> rows;
        for (int i = 0; i < ROUNDS + 1; ++i)
            rows.push_back(Elements(row));
        std::vector<DockElement *> roots;
        next = 0;
        std::snprintf(name, sizeof name, "PutRowIntoHolders, %d panes", n);
        r = bench::Compare(
            name, "all-pairs overlap", ROUNDS, [&] { sink += PairOverlaps(row); },
            [&] { roots.push_back(DockElement::PutRowIntoHolders(rows[next++ % rows.size()])); });
        std::printf("    %.3f us per element (baseline %.3f)\n", r.candidateUs / n, r.baselineUs / n);
        DockElement::ClearDockElements(roots);
        rows.clear();
    }
    bench::Keep(sink);
    return 0;
}
