// Container and Table against the standard containers a caller would
// otherwise reach for. Each benchmark checks that both sides computed the
// same thing, so that a wrong result cannot pass for a fast one.
#include "base/Container.h"
#include "base/Table.h"
#include "bench/BenchHarness.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <list>
#include <map>
#include <random>
#include <vector>

namespace {

void *P(std::uintptr_t v) { return reinterpret_cast<void *>(v); }
std::uintptr_t U(void const *p) { return reinterpret_cast<std::uintptr_t>(p); }

int failures = 0;

void Check(bool ok, char const *what)
{
    if (!ok) {
        std::printf("ContainerBench: %s: results differ\n", what);
        ++failures;
    }
}

void SequentialWalk()
{
    unsigned long const n = 1000000;
    std::vector<void *> v(n);
    Container c(n);
    for (unsigned long i = 0; i < n; ++i) {
        v[i] = P(i + 1);
        *c.GetObjectPtr(i) = P(i + 1);
    }
    // The standard library's own chain of blocks: its iterator, like the
    // cursor, checks for the end of a block on every step.
    std::deque<void *> d(v.begin(), v.end());
    std::uintptr_t sumV = 0, sumD = 0, sumC = 0;
    auto cursorWalk = [&] {
        std::uintptr_t s = 0;
        void *p = c.First();
        for (unsigned long i = 0; i < n; ++i, p = c.Next())
            s += U(p);
        sumC = s;
    };
    bench::Compare(
        "walk 10^6 entries by cursor", "std::vector", 15,
        [&] {
            std::uintptr_t s = 0;
            for (void *p : v)
                s += U(p);
            sumV = s;
        },
        cursorWalk);
    Check(sumV == sumC, "walk");
    bench::Compare(
        "walk 10^6 entries by cursor", "std::deque", 15,
        [&] {
            std::uintptr_t s = 0;
            for (void *p : d)
                s += U(p);
            sumD = s;
        },
        cursorWalk);
    Check(sumD == sumC, "walk");
}

// 10^5 insertions before the same entry, which sits in the middle of a
// list that starts with 10^4 entries.
void InsertAtCursor()
{
    unsigned long const start = 10000, inserts = 100000;
    std::vector<void *> lastV;
    std::list<void *> lastL;
    Container lastC;
    auto vectorRun = [&] {
        std::vector<void *> v;
        for (unsigned long i = 0; i < start; ++i)
            v.push_back(P(i));
        std::size_t cur = start / 2;
        for (unsigned long i = 0; i < inserts; ++i)
            v.insert(v.begin() + cur++, P(start + i));
        lastV.swap(v);
    };
    auto listRun = [&] {
        std::list<void *> l;
        for (unsigned long i = 0; i < start; ++i)
            l.push_back(P(i));
        auto it = std::next(l.begin(), start / 2);
        for (unsigned long i = 0; i < inserts; ++i)
            l.insert(it, P(start + i));
        lastL.swap(l);
    };
    auto containerRun = [&] {
        Container c;
        for (unsigned long i = 0; i < start; ++i)
            c.Insert(P(i), i);
        c.Seek(start / 2);
        for (unsigned long i = 0; i < inserts; ++i)
            c.Insert(P(start + i));
        lastC = c;
    };
    bench::Compare("insert 10^5 at the cursor, mid-list", "std::vector", 5, vectorRun, containerRun);
    bench::Compare("insert 10^5 at the cursor, mid-list", "std::list", 5, listRun, containerRun);

    bool same = lastV.size() == lastC.Count() && lastL.size() == lastC.Count();
    auto li = lastL.begin();
    for (unsigned long i = 0; same && i < lastC.Count(); ++i, ++li)
        same = lastC.GetCntObject(i) == lastV[i] && *li == lastV[i];
    Check(same, "insert");
}

void TableGet()
{
    std::size_t const n = 10000;
    std::mt19937_64 rng(3);
    std::map<unsigned __int64, void *> m;
    Table t;
    while (m.size() < n) {
        unsigned __int64 k = rng();
        void *obj = P(m.size() + 1);
        if (m.emplace(k, obj).second)
            t.Insert(k, obj);
    }
    std::vector<unsigned __int64> probe;
    for (auto const &kv : m)
        probe.push_back(kv.first);
    std::shuffle(probe.begin(), probe.end(), rng);

    std::uintptr_t sumM = 0, sumT = 0;
    bench::Compare(
        "Table::Get, 10^4 keys, each looked up 10 times", "std::map", 9,
        [&] {
            std::uintptr_t s = 0;
            for (int pass = 0; pass < 10; ++pass)
                for (unsigned __int64 k : probe)
                    s += U(m.find(k)->second);
            sumM = s;
            bench::Keep(s);
        },
        [&] {
            std::uintptr_t s = 0;
            for (int pass = 0; pass < 10; ++pass)
                for (unsigned __int64 k : probe)
                    s += U(t.Get(k));
            sumT = s;
            bench::Keep(s);
        });
    Check(sumM == sumT, "Table::Get");
}

} // namespace

int main()
{
    SequentialWalk();
    InsertAtCursor();
    TableGet();
    return failures ? 1 : 0;
}
