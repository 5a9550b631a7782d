// Container: size normalisation, and random runs against a model of the block
// and cursor rules over a std::vector.
#include "base/Container.h"
#include "base/Pair.h"
#include "base/Range.h"
#include "base/Table.h"
#include "tests/support/LeakCounters.h"
#include "tests/support/LeakLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

void *P(std::uintptr_t v) { return reinterpret_cast<void *>(v); }

using Layout = std::vector<std::pair<unsigned, unsigned>>; // (capacity, count) per block

// Opens the chain to the tests.
class Probe : public Container
{
public:
    using Container::Container;
    unsigned B() const { return m_nBlockSize; }
    unsigned I() const { return m_nInitSize; }
    unsigned R() const { return m_nReSize; }

    // Empty when the chain is broken: links, ends, counts or cursor disagree.
    Layout Blocks() const
    {
        Layout r;
        unsigned long sum = 0;
        bool cur = false;
        Block const *prev = nullptr;
        for (Block const *b = m_pFirstBlock; b; prev = b, b = b->m_pNext) {
            if (b->m_pPrev != prev || b->m_nCount > b->m_nSize || b->m_nCount > m_nBlockSize ||
                (!b->m_nCount && m_nCount))
                return {};
            r.push_back({b->m_nSize, b->m_nCount});
            sum += b->m_nCount;
            cur |= b == m_pCurBlock;
        }
        bool ok = prev == m_pLastBlock && sum == m_nCount && cur && (m_nCount || r.size() == 1) &&
                  (m_nCount ? m_nCurIndex < m_pCurBlock->m_nCount : m_nCurIndex == 0);
        return ok ? r : Layout();
    }

    std::vector<void *> Entries() const
    {
        std::vector<void *> r;
        for (Block const *b = m_pFirstBlock; b; b = b->m_pNext)
            r.insert(r.end(), b->Slots(), b->Slots() + b->m_nCount);
        return r;
    }
};

} // namespace

TEST(ContainerSizes, AreNormalisedAndCountConstructorFills)
{
    unsigned const cases[][6] = {
        {10, 5, 4, 8, 2, 4}, {0, 0, 0, 4, 2, 2}, {5, 4, 4, 2, 2, 4}, {60000, 100, 16, 16368, 88, 16},
    };
    for (auto const &c : cases) {
        Probe p(c[0], c[1], c[2]);
        EXPECT_EQ((std::vector<unsigned>{c[3], c[4], c[5]}), (std::vector<unsigned>{p.B(), p.I(), p.R()}))
            << "Container(" << c[0] << ", " << c[1] << ", " << c[2] << ")";
        EXPECT_EQ((Layout{{c[4], 0}}), p.Blocks());
    }
    Probe big(2 * 16368UL + 100);
    EXPECT_EQ((Layout{{16368, 16368}, {16368, 16368}, {100, 100}}), big.Blocks());
    EXPECT_EQ(0u, big.GetPos(nullptr));
}

TEST(ContainerCopy, EqualityIgnoresBlockLayoutAndCopiesAreIndependent)
{
    Container a(6, 2, 2), b(16, 16, 16);
    for (std::uintptr_t v = 1; v <= 30; ++v)
        a.Insert(P(v), static_cast<unsigned long>((v * 7) % (a.Count() + 1)));
    for (unsigned long i = 0; i < a.Count(); ++i)
        b.Insert(a.GetCntObject(i), i);
    EXPECT_TRUE(a == b);
    Container c(a);
    c.Replace(P(1000), 3UL);
    EXPECT_TRUE(a != c);
    EXPECT_EQ(b.GetCntObject(3), a.GetCntObject(3));
}

// ------------------------------------------------------------ random runs

namespace {

// The block rules over a std::vector: blocks are (capacity, count) pairs.
struct Model
{
    unsigned B, I, R;
    std::vector<void *> v{};
    Layout blocks{{I, 0}};
    std::size_t cur = 0;

    std::pair<std::size_t, unsigned> Find(std::size_t pos) const // block and index of an entry
    {
        std::size_t bi = 0;
        while (pos >= blocks[bi].second)
            pos -= blocks[bi++].second;
        return {bi, unsigned(pos)};
    }
    void Insert(void *p, std::size_t pos)
    {
        pos = std::min(pos, v.size());
        auto [bi, i] = pos < v.size() ? Find(pos) : std::pair(blocks.size() - 1, blocks.back().second);
        auto &[size, n] = blocks[bi];
        if (n < B) {
            size += n == size ? R : 0, ++n;
        } else { // split off the smaller side, new entry included
            bool const front = i <= n / 2;
            unsigned const moved = front ? i : n - i;
            n -= moved;
            blocks.insert(blocks.begin() + bi + !front, {moved >= R ? (moved / R + 1) * R : R, moved + 1});
        }
        cur += !v.empty() && pos <= cur;
        v.insert(v.begin() + pos, p);
    }
    void *Remove(std::size_t pos)
    {
        auto [bi, i] = Find(pos);
        auto &[size, n] = blocks[bi];
        void *p = v[pos];
        v.erase(v.begin() + pos);
        if (v.empty())
            return n = 0, cur = 0, p;
        // The current entry's successor takes over, unless it is in another block: then its predecessor.
        cur -= pos < cur || (pos == cur && (n > 1 ? i == n - 1 : bi + 1 == blocks.size()));
        if (n == 1)
            blocks.erase(blocks.begin() + bi);
        else
            size -= int(n + R) == int(size) - int(R / 4) + 1 ? R : 0, --n;
        return p;
    }
    void ChangeSize(std::size_t size)
    {
        if (size == 0 && !v.empty()) {
            blocks = {{I, 0}}, cur = 0;
        } else if (size < v.size()) {
            auto [bi, i] = Find(size - 1);
            blocks.resize(bi + 1);
            blocks[bi].second = i + 1;
            cur = std::min(cur, size - 1);
        } else if (size > v.size()) { // fill the last block up to B, then whole new blocks
            auto &[cap, n] = blocks.back();
            unsigned fill = unsigned(std::min<std::size_t>(size - v.size(), B - n));
            cap = std::max(cap, n + fill), n += fill;
            for (std::size_t add = size - v.size() - fill; add; add -= blocks.back().second)
                blocks.push_back({unsigned(std::min<std::size_t>(add, B)), unsigned(std::min<std::size_t>(add, B))});
        }
        v.resize(size, nullptr);
    }
    std::size_t Pos(void const *p) const
    {
        auto it = std::find(v.begin(), v.end(), p);
        return it == v.end() ? CONTAINER_NOT_FOUND : std::size_t(it - v.begin());
    }
    void *At(std::size_t pos) const { return pos < v.size() ? v[pos] : nullptr; }
};

void RandomRun(Probe &c, unsigned seed, int steps, std::size_t typical)
{
    Model m{c.B(), c.I(), c.R()};
    if (c.Count()) // a count-constructed start, whose layout is checked above
        m.v = c.Entries(), m.blocks = c.Blocks(), m.cur = c.GetCurPos();
    ASSERT_EQ(m.blocks, c.Blocks());
    std::mt19937 rng(seed);
    auto pick = [&](std::size_t n) { return std::size_t(rng() % n); };
    auto value = [&] { return P(pick(40)); }; // null and duplicates included
    auto L = [](std::size_t p) { return static_cast<unsigned long>(p); };

    for (int step = 0; step < steps; ++step) {
        std::size_t const n = m.v.size(), at = pick(n + 4);
        void *p = value(), *q = value(), *got = nullptr, *want = nullptr;
        unsigned op = unsigned(pick(20));
        op += n > 2 * typical && op < 6 ? 6 : 0; // drift back to the typical size
        std::string what = std::to_string(op) + " at " + std::to_string(at);
        switch (op) {
        case 0: case 1: c.Insert(p); m.Insert(p, m.cur); break;
        case 2: case 3: c.Insert(p, L(at)); m.Insert(p, at); break;
        case 4: c.Insert(p, q); if (m.Pos(q) < n) m.Insert(p, m.Pos(q)); break;
        case 5: case 6: got = c.Remove(), want = n ? m.Remove(m.cur) : nullptr; break;
        case 7: case 8: got = c.Remove(L(at)), want = at < n ? m.Remove(at) : nullptr; break;
        case 9: got = c.Remove(p), want = m.Pos(p) < n ? m.Remove(m.Pos(p)) : nullptr; break;
        case 10: got = c.Replace(p), want = m.At(m.cur); if (n) m.v[m.cur] = p; break;
        case 11: got = c.Replace(p, L(at)), want = m.At(at); if (at < n) m.v[at] = p; break;
        case 12: got = c.Replace(p, q); if (std::size_t k = m.Pos(q); k < n) want = q, m.v[k] = p; break;
        case 13: got = c.Seek(L(at)); if (n) m.cur = std::min(at, n - 1), want = m.v[m.cur]; break;
        case 14: got = c.Seek(p); if (m.Pos(p) < n) m.cur = m.Pos(p), want = p; break;
        case 15: got = c.Next(); if (m.cur + 1 < n) want = m.v[++m.cur]; break;
        case 16: got = c.Prev(); if (n && m.cur > 0) want = m.v[--m.cur]; break;
        case 17: {
            bool first = pick(2);
            got = first ? c.First() : c.Last();
            if (n)
                m.cur = first ? 0 : n - 1, want = m.v[m.cur];
            break;
        }
        case 18: {
            std::size_t size = pick(8) ? pick(typical * 2 + 1) : pick(2) ? 0 : n + 1 + pick(3 * m.B);
            got = P(c.ChangeSize(L(size))), want = P(n);
            m.ChangeSize(size);
            break;
        }
        default: { // the run goes on with a copy of a copy
            Probe copy(c), other(3, 1, 1);
            other.Insert(p);
            other = copy;
            if (!(copy == c) || copy.GetCurPos() != c.GetCurPos() || copy.Blocks() != c.Blocks())
                FAIL() << "step " << step << ": the copy differs";
            c.Clear();
            c = other;
        }
        }
        ASSERT_EQ(want, got) << "step " << step << ", op " << what;
        ASSERT_EQ(m.blocks, c.Blocks()) << "step " << step << ", op " << what;
        ASSERT_EQ(m.v, c.Entries()) << "step " << step << ", op " << what;
        ASSERT_EQ(m.v.empty() ? CONTAINER_NOT_FOUND : m.cur, c.GetCurPos()) << "step " << step << ", op " << what;
        ASSERT_EQ(m.At(m.cur), c.GetCurObject()) << "step " << step;
        std::size_t probe = pick(m.v.size() + 2);
        ASSERT_EQ(m.At(probe), c.GetCntObject(L(probe))) << "step " << step;
        ASSERT_EQ(probe < m.v.size(), c.GetObjectPtr(L(probe)) != nullptr) << "step " << step;
        ASSERT_EQ(m.Pos(p), c.GetPos(p)) << "step " << step;
    }
}

} // namespace

// The block cut below the step, a block of two, a step of three, a step as
// large as the block, and the count constructor's step of one.
TEST(ContainerRandom, OddSizes)
{
    unsigned const runs[][6] = {{4, 2, 2, 1, 100000, 60}, {10, 5, 4, 2, 100000, 120}, {5, 4, 4, 3, 100000, 40},
                                {7, 1, 3, 4, 100000, 150}, {9, 9, 9, 5, 100000, 100}};
    for (auto const &r : runs) {
        Probe c(r[0], r[1], r[2]);
        RandomRun(c, r[3], int(r[4]), r[5]);
        ASSERT_FALSE(HasFatalFailure()) << "seed " << r[3];
    }
    Probe c(1UL);
    RandomRun(c, 6, 30000, 300);
}

TEST(ContainerLeaks, HeapReturnsToWhereItWas)
{
    auto work = [] {
        Container a(6, 2, 2), c(100, 10, 10), big(40000UL);
        Table t(2, 2);
        for (std::uintptr_t v = 0; v < 3000; ++v) {
            a.Insert(P(v), static_cast<unsigned long>((v * 31) % (a.Count() + 1)));
            t.Insert((v * 2654435761u) % 5000, P(v));
        }
        Container b(a);
        c = a;
        b.ChangeSize(10000);
        big.ChangeSize(5);
        for (unsigned long i = 0; i < 2000; ++i)
            a.Remove((i * 17) % a.Count()), t.Remove(i);
        Table u(t);
        u = t;
        c.Clear();
        return a.Count() + b.Count() + t.Count() + u.Count();
    };
    std::size_t const before = kstest::CurrentHeapUsage().blocks;
    {
        Container c(4, 2, 2);
        for (std::uintptr_t v = 0; v < 1000; ++v)
            c.Insert(P(v), 1000UL);
        EXPECT_GT(kstest::CurrentHeapUsage().blocks, before + 200) << "the heap walk does not see the container's blocks";
    }
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 1, .bytes = true}, work));
}

TEST(PairAndRange, Basics)
{
    Pair p(3, -4);
    p.B() = 5;
    EXPECT_TRUE(p == Pair(3, 5) && p != Pair(5, 3));
    Range r(5, 2);
    r.Justify();
    EXPECT_EQ(2, r.Min());
    EXPECT_EQ(4, r.Len());
    EXPECT_TRUE(r.IsInside(5) && !r.IsInside(6) && !Range().IsSet() && Range(-1, 0).IsSet());
}
