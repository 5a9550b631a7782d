// Container: size normalisation, the cursor's rules, failures that change
// nothing, and a long random run against a model that knows the block rules.
#include "base/Container.h"
#include "base/Pair.h"
#include "base/Range.h"
#include "base/Table.h"
#include "tests/support/LeakCounters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

void *P(std::uintptr_t v) { return reinterpret_cast<void *>(v); }

// Opens the chain to the tests: block layout and the raw cursor.
class Probe : public Container
{
public:
    using Container::Container;

    struct BlockInfo
    {
        unsigned size;
        unsigned count;
        bool operator==(BlockInfo const &o) const { return size == o.size && count == o.count; }
    };

    unsigned short BlockSize() const { return m_nBlockSize; }
    unsigned short InitSize() const { return m_nInitSize; }
    unsigned short ReSize() const { return m_nReSize; }

    std::vector<BlockInfo> Blocks() const
    {
        std::vector<BlockInfo> r;
        for (Block const *b = m_pFirstBlock; b; b = b->m_pNext)
            r.push_back({b->m_nSize, b->m_nCount});
        return r;
    }

    std::vector<void *> Entries() const
    {
        std::vector<void *> r;
        for (Block const *b = m_pFirstBlock; b; b = b->m_pNext)
            r.insert(r.end(), b->Slots(), b->Slots() + b->m_nCount);
        return r;
    }

    // Links both ways, the ends, the counts and the cursor agree.
    testing::AssertionResult ChainIsSound() const
    {
        if (!m_pFirstBlock || m_pFirstBlock->m_pPrev)
            return testing::AssertionFailure() << "bad first block";
        unsigned long sum = 0;
        bool curSeen = false;
        unsigned blocks = 0;
        Block const *prev = nullptr;
        for (Block const *b = m_pFirstBlock; b; prev = b, b = b->m_pNext, ++blocks) {
            if (b->m_pPrev != prev)
                return testing::AssertionFailure() << "broken back link at block " << blocks;
            if (b->m_nCount > b->m_nSize || b->m_nCount > m_nBlockSize)
                return testing::AssertionFailure() << "overfull block " << blocks;
            if (b->m_nCount == 0 && m_nCount != 0)
                return testing::AssertionFailure() << "empty block " << blocks << " in a non-empty container";
            curSeen |= b == m_pCurBlock;
            sum += b->m_nCount;
        }
        if (prev != m_pLastBlock)
            return testing::AssertionFailure() << "last block is not the chain's end";
        if (m_nCount == 0 && blocks != 1)
            return testing::AssertionFailure() << "empty container with " << blocks << " blocks";
        if (sum != m_nCount)
            return testing::AssertionFailure() << "blocks hold " << sum << ", count says " << m_nCount;
        if (!curSeen)
            return testing::AssertionFailure() << "current block not in the chain";
        if (m_nCount ? m_nCurIndex >= m_pCurBlock->m_nCount : m_nCurIndex != 0)
            return testing::AssertionFailure() << "cursor index " << m_nCurIndex << " out of its block";
        return testing::AssertionSuccess();
    }
};

} // namespace

// ------------------------------------------------------------ construction

TEST(ContainerSizes, AreNormalised)
{
    struct Case
    {
        unsigned short block, init, re;
        unsigned short wantBlock, wantInit, wantRe;
    };
    Case const cases[] = {
        {10, 5, 4, 8, 2, 4},        // block cut to 10 - 4 + 2, init to 5 - 4 + 1
        {10, 8, 3, 8, 8, 3},        // 10 - 3 + 1; init then reaches the block size
        {0, 0, 0, 4, 2, 2},         // everything at its floor
        {3, 100, 1, 4, 4, 2},       // init capped by the block size
        {60000, 100, 16, 16368, 88, 16},
        {20, 40, 30, 20, 20, 20},   // a step beyond the block is the block
        {5, 4, 4, 2, 2, 4},         // the cut may go below four
        {12, 7, 4, 12, 6, 4},       // multiples stay; init 7 - 4 + 3
    };
    for (Case const &c : cases) {
        Probe p(c.block, c.init, c.re);
        SCOPED_TRACE(testing::Message() << "Container(" << c.block << ", " << c.init << ", " << c.re << ")");
        EXPECT_EQ(c.wantBlock, p.BlockSize());
        EXPECT_EQ(c.wantInit, p.InitSize());
        EXPECT_EQ(c.wantRe, p.ReSize());
        ASSERT_EQ(1u, p.Blocks().size());
        EXPECT_EQ(c.wantInit, p.Blocks()[0].size);
        EXPECT_EQ(0u, p.Count());
        EXPECT_EQ(CONTAINER_NOT_FOUND, p.GetCurPos());
    }
}

TEST(ContainerSizes, CountConstructorFillsFullBlocksOfNulls)
{
    Probe one(0UL);
    EXPECT_EQ(1u, one.Count());
    EXPECT_EQ(nullptr, one.GetCntObject(0));
    EXPECT_EQ(0u, one.GetCurPos());

    unsigned long const n = 2 * 16368 + 100;
    Probe big(n);
    EXPECT_EQ(n, big.Count());
    auto blocks = big.Blocks();
    ASSERT_EQ(3u, blocks.size());
    EXPECT_EQ(16368u, blocks[0].count);
    EXPECT_EQ(16368u, blocks[1].count);
    EXPECT_EQ(100u, blocks[2].count);
    EXPECT_TRUE(big.ChainIsSound());
    for (void *e : big.Entries())
        ASSERT_EQ(nullptr, e);
    EXPECT_EQ(0u, big.GetPos(nullptr));
}

// ------------------------------------------------------------ cursor rules

TEST(ContainerCursor, StaysOnItsEntryThroughInsertsAndSplits)
{
    Probe c(4, 4, 2);
    for (std::uintptr_t v = 1; v <= 4; ++v)
        c.Insert(P(v), 100UL);
    c.Seek(2UL); // on 3, in a full block
    c.Insert(P(10));
    EXPECT_EQ(P(3), c.GetCurObject());
    EXPECT_EQ(3u, c.GetCurPos());
    EXPECT_EQ(2u, c.Blocks().size()) << "the full block should have split";
    // Before the cursor at every position, splitting on both sides.
    for (std::uintptr_t v = 20; v < 40; ++v) {
        c.Insert(P(v), static_cast<unsigned long>(v % (c.GetCurPos() + 1)));
        ASSERT_EQ(P(3), c.GetCurObject());
        ASSERT_TRUE(c.ChainIsSound());
    }
    EXPECT_EQ(c.GetPos(P(3)), c.GetCurPos());
}

TEST(ContainerCursor, FirstInsertBecomesCurrent)
{
    Container c(4, 4, 2);
    c.Insert(P(7), 55UL);
    EXPECT_EQ(P(7), c.GetCurObject());
    EXPECT_EQ(0u, c.GetCurPos());
}

TEST(ContainerCursor, NextAndPrevStopAtTheEnds)
{
    Container c(4, 2, 2);
    EXPECT_EQ(nullptr, c.Next());
    EXPECT_EQ(nullptr, c.Prev());
    for (std::uintptr_t v = 1; v <= 9; ++v)
        c.Insert(P(v), 100UL);
    EXPECT_EQ(P(9), c.Last());
    EXPECT_EQ(nullptr, c.Next());
    EXPECT_EQ(P(9), c.GetCurObject());
    EXPECT_EQ(8u, c.GetCurPos());
    EXPECT_EQ(P(1), c.First());
    EXPECT_EQ(nullptr, c.Prev());
    EXPECT_EQ(P(1), c.GetCurObject());
    // A full walk crosses every block boundary both ways.
    for (std::uintptr_t v = 2; v <= 9; ++v)
        ASSERT_EQ(P(v), c.Next());
    for (std::uintptr_t v = 8; v >= 1; --v)
        ASSERT_EQ(P(v), c.Prev());
}

TEST(ContainerCursor, RemovingTheCurrentEntry)
{
    // Blocks of four: [1 2 3 4] [5 6 7 8] [9]
    Probe c(4, 4, 2);
    c.ChangeSize(9);
    for (unsigned long i = 0; i < 9; ++i)
        c.Replace(P(i + 1), i);
    ASSERT_EQ(3u, c.Blocks().size());

    c.Seek(1UL); // 2, inside its block: the successor takes its place
    EXPECT_EQ(P(2), c.Remove());
    EXPECT_EQ(P(3), c.GetCurObject());

    c.Seek(P(4)); // last of its block: the predecessor in the block
    EXPECT_EQ(P(4), c.Remove());
    EXPECT_EQ(P(3), c.GetCurObject());

    c.Seek(P(9)); // alone in the last block: the previous block's last
    EXPECT_EQ(P(9), c.Remove());
    EXPECT_EQ(P(8), c.GetCurObject());
    EXPECT_EQ(2u, c.Blocks().size());

    // Alone in a block with one behind it: the next block's first.
    Probe d(4, 4, 2);
    for (std::uintptr_t v = 1; v <= 5; ++v)
        d.Insert(P(v), 100UL);
    d.Insert(P(50), 0UL); // splits off [50] in front
    ASSERT_EQ(1u, d.Blocks()[0].count);
    d.First();
    EXPECT_EQ(P(50), d.Remove());
    EXPECT_EQ(P(1), d.GetCurObject());
    EXPECT_EQ(0u, d.GetCurPos());

    // A removal in front of the cursor keeps it on its entry.
    d.Seek(P(4));
    EXPECT_EQ(P(2), d.Remove(1UL));
    EXPECT_EQ(P(4), d.GetCurObject());
    EXPECT_TRUE(d.ChainIsSound());
}

// ------------------------------------------------------------ failures and nulls

TEST(ContainerFailures, OutOfRangeChangesNothing)
{
    Container c(5, 3, 2);
    EXPECT_EQ(nullptr, c.Remove());
    EXPECT_EQ(nullptr, c.Replace(P(1)));
    EXPECT_EQ(nullptr, c.First());
    EXPECT_EQ(nullptr, c.Last());
    EXPECT_EQ(nullptr, c.Seek(0UL));
    EXPECT_EQ(nullptr, c.GetCurObject());
    EXPECT_EQ(CONTAINER_NOT_FOUND, c.GetCurPos());

    for (std::uintptr_t v = 1; v <= 7; ++v)
        c.Insert(P(v), 100UL);
    c.Seek(3UL);
    Container const before(c);
    EXPECT_EQ(nullptr, c.Remove(7UL));
    EXPECT_EQ(nullptr, c.Remove(0xFFFFFFFFUL));
    EXPECT_EQ(nullptr, c.Remove(P(99)));
    EXPECT_EQ(nullptr, c.Replace(P(5), 7UL));
    EXPECT_EQ(nullptr, c.Replace(P(5), P(99)));
    EXPECT_EQ(nullptr, c.Seek(P(99)));
    EXPECT_EQ(nullptr, c.GetCntObject(7UL));
    EXPECT_EQ(nullptr, c.GetObjectPtr(7UL));
    EXPECT_EQ(CONTAINER_NOT_FOUND, c.GetPos(P(99)));
    c.Insert(P(5), P(99));
    EXPECT_TRUE(c == before);
    EXPECT_EQ(before.GetCurPos(), c.GetCurPos());
    EXPECT_EQ(P(7), c.Seek(1000UL)) << "a far seek lands on the last entry";
}

TEST(ContainerFailures, NullIsAnOrdinaryEntry)
{
    Container c(4, 2, 2);
    c.Insert(P(1), 100UL);
    c.Insert(nullptr, 100UL);
    c.Insert(P(2), 100UL);
    c.Insert(nullptr, 100UL);
    EXPECT_EQ(4u, c.Count());
    EXPECT_EQ(1u, c.GetPos(nullptr));
    c.Seek(P(2));
    EXPECT_EQ(nullptr, c.Next());
    EXPECT_EQ(3u, c.GetCurPos()) << "a null entry is still a step";
    EXPECT_EQ(nullptr, c.Remove(static_cast<void *>(nullptr)));
    EXPECT_EQ(3u, c.Count());
    EXPECT_EQ(2u, c.GetPos(nullptr)) << "only the first null goes";
    EXPECT_EQ(P(2), c.Seek(1UL));
}

// ------------------------------------------------------------ copies, sizes

TEST(ContainerCopy, CopiesAreEqualIndependentAndKeepTheCursor)
{
    Container a(6, 2, 2);
    for (std::uintptr_t v = 1; v <= 30; ++v)
        a.Insert(P(v), static_cast<unsigned long>((v * 7) % (a.Count() + 1)));
    a.Seek(17UL);

    Container b(a);
    EXPECT_TRUE(a == b);
    EXPECT_EQ(17u, b.GetCurPos());
    EXPECT_EQ(a.GetCurObject(), b.GetCurObject());
    b.Replace(P(1000), 3UL);
    EXPECT_TRUE(a != b);
    EXPECT_NE(P(1000), a.GetCntObject(3UL));

    Container c(100, 50, 10);
    c.Insert(P(5));
    c = a;
    EXPECT_TRUE(c == a);
    EXPECT_EQ(17u, c.GetCurPos());
    c = c;
    EXPECT_TRUE(c == a);

    // Equality looks at entries, not at how they are cut into blocks.
    Container d(16, 16, 16);
    for (unsigned long i = 0; i < a.Count(); ++i)
        d.Insert(a.GetCntObject(i), i);
    EXPECT_TRUE(d == a);
    d.Remove(d.Count() - 1);
    EXPECT_TRUE(d != a);
}

TEST(ContainerCopy, ChangeSizeTruncatesAndPadsWithNulls)
{
    Probe c(4, 2, 2);
    for (std::uintptr_t v = 1; v <= 10; ++v)
        c.Insert(P(v), 100UL);
    c.Last();
    EXPECT_EQ(10u, c.ChangeSize(3));
    EXPECT_EQ(3u, c.Count());
    EXPECT_EQ(P(3), c.GetCurObject()) << "a dropped cursor comes back to the new end";
    EXPECT_TRUE(c.ChainIsSound());
    EXPECT_EQ(3u, c.ChangeSize(11));
    EXPECT_EQ(P(3), c.GetCurObject());
    for (unsigned long i = 3; i < 11; ++i)
        EXPECT_EQ(nullptr, c.GetCntObject(i));
    EXPECT_TRUE(c.ChainIsSound());
    EXPECT_EQ(11u, c.ChangeSize(0));
    EXPECT_EQ(0u, c.Count());
    EXPECT_EQ(1u, c.Blocks().size());
    EXPECT_EQ(0u, c.ChangeSize(2));
    EXPECT_EQ(0u, c.GetCurPos());
}

TEST(ContainerCopy, ObjectPtrWritesThrough)
{
    Container c(4, 2, 2);
    c.ChangeSize(6);
    for (unsigned long i = 0; i < 6; ++i)
        *c.GetObjectPtr(i) = P(i + 1);
    for (unsigned long i = 0; i < 6; ++i)
        EXPECT_EQ(P(i + 1), c.GetCntObject(i));
}

// ------------------------------------------------------------ random run

namespace {

// The container's documented behaviour restated over a plain vector: the
// entries, the cursor as a position, and each block as (capacity, count).
struct Model
{
    unsigned B = 0, I = 0, R = 0;
    std::vector<void *> v;
    std::vector<Probe::BlockInfo> blocks;
    std::size_t cur = 0;

    void Reset() { blocks = {{I, 0}}, v.clear(), cur = 0; }

    std::pair<std::size_t, unsigned> Find(std::size_t pos) const
    {
        std::size_t bi = 0;
        while (pos >= blocks[bi].count)
            pos -= blocks[bi++].count;
        return {bi, unsigned(pos)};
    }

    void Insert(void *p, std::size_t pos)
    {
        std::size_t bi;
        unsigned i;
        if (pos >= v.size())
            bi = blocks.size() - 1, i = blocks[bi].count;
        else
            std::tie(bi, i) = Find(pos);
        Probe::BlockInfo &b = blocks[bi];
        if (b.count < B) {
            if (b.count == b.size)
                b.size += R;
            ++b.count;
        } else {
            unsigned n = b.count, moved = i <= n / 2 ? i : n - i;
            unsigned size = moved >= R ? (moved / R + 1) * R : R;
            if (i <= n / 2) {
                b.count = n - i;
                blocks.insert(blocks.begin() + bi, {size, i + 1});
            } else {
                b.count = i;
                blocks.insert(blocks.begin() + bi + 1, {size, n - i + 1});
            }
        }
        pos = std::min(pos, v.size());
        if (!v.empty() && pos <= cur)
            ++cur;
        v.insert(v.begin() + pos, p);
    }

    void *Remove(std::size_t pos)
    {
        auto [bi, i] = Find(pos);
        Probe::BlockInfo &b = blocks[bi];
        bool const lastBlock = bi + 1 == blocks.size();
        void *p = v[pos];
        if (v.size() == 1) {
            b.count = 0;
            cur = 0;
        } else {
            if (pos < cur)
                --cur;
            else if (pos == cur && ((b.count > 1 && i == b.count - 1) || (b.count == 1 && lastBlock)))
                --cur;
            if (b.count > 1) {
                if (int(b.count + R) == int(b.size) - int(R / 4) + 1)
                    b.size -= R;
                --b.count;
            } else
                blocks.erase(blocks.begin() + bi);
        }
        v.erase(v.begin() + pos);
        return p;
    }

    void ChangeSize(std::size_t n)
    {
        if (n == v.size())
            return;
        if (n == 0)
            return Reset();
        if (n < v.size()) {
            auto [bi, i] = Find(n - 1);
            blocks.resize(bi + 1);
            blocks[bi].count = i + 1;
            cur = std::min(cur, n - 1);
        } else if (n > v.size()) {
            std::size_t add = n - v.size();
            Probe::BlockInfo &last = blocks.back();
            std::size_t fill = std::min<std::size_t>(add, last.count < B ? B - last.count : 0);
            if (fill && last.count + fill > last.size)
                last.size = unsigned(last.count + fill);
            last.count += unsigned(fill);
            for (add -= fill; add;) {
                unsigned k = unsigned(std::min<std::size_t>(add, B));
                blocks.push_back({k, k});
                add -= k;
            }
        }
        v.resize(n, nullptr);
    }

    std::size_t Pos(void const *p) const
    {
        for (std::size_t i = 0; i < v.size(); ++i)
            if (v[i] == p)
                return i;
        return CONTAINER_NOT_FOUND;
    }
};

testing::AssertionResult Agrees(Probe const &c, Model const &m)
{
    if (auto r = c.ChainIsSound(); !r)
        return r;
    if (c.Count() != m.v.size())
        return testing::AssertionFailure() << "count " << c.Count() << ", model " << m.v.size();
    if (c.Entries() != m.v)
        return testing::AssertionFailure() << "entries differ";
    unsigned long const wantPos = m.v.empty() ? CONTAINER_NOT_FOUND : static_cast<unsigned long>(m.cur);
    if (c.GetCurPos() != wantPos)
        return testing::AssertionFailure() << "cursor at " << c.GetCurPos() << ", model " << wantPos;
    if (c.GetCurObject() != (m.v.empty() ? nullptr : m.v[m.cur]))
        return testing::AssertionFailure() << "current object differs";
    auto const blocks = c.Blocks();
    if (blocks != m.blocks) {
        std::ostringstream s;
        for (std::size_t i = 0; i < std::max(blocks.size(), m.blocks.size()); ++i) {
            s << " [";
            if (i < blocks.size())
                s << blocks[i].count << "/" << blocks[i].size;
            s << " vs ";
            if (i < m.blocks.size())
                s << m.blocks[i].count << "/" << m.blocks[i].size;
            s << "]";
        }
        return testing::AssertionFailure() << "block layout (count/capacity, container vs model):" << s.str();
    }
    return testing::AssertionSuccess();
}

void RandomRun(Probe &c, unsigned seed, int steps, std::size_t typical)
{
    Model m;
    m.B = c.BlockSize(), m.I = c.InitSize(), m.R = c.ReSize();
    m.Reset();
    if (c.Count()) {
        m.ChangeSize(0);
        m.blocks = c.Blocks();
        m.v = c.Entries();
        m.cur = c.GetCurPos();
    }
    ASSERT_TRUE(Agrees(c, m));

    std::mt19937 rng(seed);
    auto pick = [&](std::size_t n) { return std::size_t(rng() % n); };
    // A small pool of values, null among them, so that searches meet
    // duplicates and absent values.
    auto value = [&] { return P(pick(40)); };
    auto pos = [&] { return pick(m.v.size() + 4); };
    auto lpos = [](std::size_t p) { return static_cast<unsigned long>(p); };

    for (int step = 0; step < steps; ++step) {
        std::size_t const n = m.v.size();
        // Drift back towards the typical size from either side.
        unsigned op = unsigned(pick(20));
        if (n > 2 * typical && op < 6)
            op += 6;
        std::string what;
        void *got = nullptr, *want = nullptr;
        switch (op) {
        case 0:
        case 1: {
            void *p = value();
            what = "Insert(p)";
            c.Insert(p);
            m.Insert(p, n ? m.cur : 0);
            break;
        }
        case 2:
        case 3: {
            void *p = value();
            std::size_t at = pos();
            what = "Insert(p, " + std::to_string(at) + ")";
            c.Insert(p, lpos(at));
            m.Insert(p, at);
            break;
        }
        case 4: {
            void *p = value(), *before = value();
            what = "Insert(p, before)";
            c.Insert(p, before);
            if (std::size_t at = m.Pos(before); at != CONTAINER_NOT_FOUND)
                m.Insert(p, at);
            break;
        }
        case 5:
        case 6:
            what = "Remove()";
            got = c.Remove();
            want = n ? m.Remove(m.cur) : nullptr;
            break;
        case 7:
        case 8: {
            std::size_t at = pos();
            what = "Remove(" + std::to_string(at) + ")";
            got = c.Remove(lpos(at));
            want = at < n ? m.Remove(at) : nullptr;
            break;
        }
        case 9: {
            void *p = value();
            what = "Remove(p)";
            got = c.Remove(p);
            std::size_t at = m.Pos(p);
            want = at != CONTAINER_NOT_FOUND ? m.Remove(at) : nullptr;
            break;
        }
        case 10: {
            void *p = value();
            std::size_t at = pick(3) ? m.cur : pos();
            what = "Replace at " + std::to_string(at);
            got = at == m.cur && pick(2) ? c.Replace(p) : c.Replace(p, lpos(at));
            if (at < n)
                want = m.v[at], m.v[at] = p;
            break;
        }
        case 11: {
            void *p = value(), *old = value();
            what = "Replace(p, old)";
            got = c.Replace(p, old);
            if (std::size_t at = m.Pos(old); at != CONTAINER_NOT_FOUND)
                want = old, m.v[at] = p;
            break;
        }
        case 12: {
            std::size_t at = pos();
            what = "Seek(" + std::to_string(at) + ")";
            got = c.Seek(lpos(at));
            if (n)
                m.cur = std::min(at, n - 1), want = m.v[m.cur];
            break;
        }
        case 13: {
            void *p = value();
            what = "Seek(p)";
            got = c.Seek(p);
            if (std::size_t at = m.Pos(p); at != CONTAINER_NOT_FOUND)
                m.cur = at, want = p;
            break;
        }
        case 14:
        case 15: {
            bool const forward = pick(2);
            what = forward ? "Next()" : "Prev()";
            got = forward ? c.Next() : c.Prev();
            if (n && forward && m.cur + 1 < n)
                want = m.v[++m.cur];
            if (n && !forward && m.cur > 0)
                want = m.v[--m.cur];
            break;
        }
        case 16: {
            bool const first = pick(2);
            what = first ? "First()" : "Last()";
            got = first ? c.First() : c.Last();
            if (n)
                m.cur = first ? 0 : n - 1, want = m.v[m.cur];
            break;
        }
        case 17: {
            std::size_t at = pos();
            void *p = value();
            what = "GetObjectPtr(" + std::to_string(at) + ")";
            void **slot = c.GetObjectPtr(lpos(at));
            if ((slot != nullptr) != (at < n))
                FAIL() << "step " << step << ": GetObjectPtr(" << at << ") of " << n;
            if (slot) {
                want = m.v[at];
                got = *slot;
                *slot = p;
                m.v[at] = p;
            }
            break;
        }
        case 18: {
            std::size_t size = pick(8) ? pick(typical * 2 + 1) : (pick(2) ? 0 : n + 1 + pick(3 * m.B));
            what = "ChangeSize(" + std::to_string(size) + ")";
            unsigned long old = c.ChangeSize(lpos(size));
            if (old != n)
                FAIL() << "step " << step << ": ChangeSize returned " << old << ", count was " << n;
            m.ChangeSize(size);
            break;
        }
        default: {
            // Copies must match too, cursor included; then the run goes on
            // with the copy, so that copied chains get changed as well.
            what = "copy";
            Probe copy(c);
            if (!(copy == c) || copy.GetCurPos() != c.GetCurPos() || copy.Blocks() != c.Blocks())
                FAIL() << "step " << step << ": copy differs";
            Probe other(3, 1, 1);
            other.Insert(P(1));
            other = copy;
            c.Clear();
            c = other;
            break;
        }
        }
        if (got != want)
            FAIL() << "step " << step << ": " << what << " returned " << got << ", model " << want;
        testing::AssertionResult r = Agrees(c, m);
        if (!r)
            FAIL() << "step " << step << " after " << what << ": " << r.message();
        // Random access on the side.
        if (n) {
            std::size_t at = pick(m.v.size() + 2);
            void *e = at < m.v.size() ? m.v[at] : nullptr;
            if (c.GetCntObject(lpos(at)) != e)
                FAIL() << "step " << step << ": GetCntObject(" << at << ")";
            void *p = value();
            if (c.GetPos(p) != m.Pos(p))
                FAIL() << "step " << step << ": GetPos";
        }
    }
}

} // namespace

TEST(ContainerRandom, SmallEvenBlocks)
{
    Probe c(4, 2, 2);
    RandomRun(c, 1, 100000, 60);
}

TEST(ContainerRandom, OddCutBlocks)
{
    Probe c(10, 5, 4); // 8 / 2 / 4: init below the step
    RandomRun(c, 2, 100000, 120);
}

TEST(ContainerRandom, BlockSizeTwo)
{
    Probe c(5, 4, 4); // cut to 2 with a step of 4
    RandomRun(c, 3, 100000, 40);
}

TEST(ContainerRandom, OddBlockWithStepThree)
{
    Probe c(7, 1, 3); // 5 / 3 / 3
    RandomRun(c, 4, 100000, 150);
}

TEST(ContainerRandom, StepEqualsBlock)
{
    Probe c(9, 9, 9);
    RandomRun(c, 5, 100000, 100);
}

TEST(ContainerRandom, CountConstructedWithStepOne)
{
    Probe c(300UL); // one block, every removal from a full slot array shrinks
    RandomRun(c, 6, 30000, 300);
}

// ------------------------------------------------------------ leaks

TEST(ContainerLeaks, HeapReturnsToWhereItWas)
{
    auto work = [] {
        Container a(6, 2, 2);
        Table t(2, 2);
        for (std::uintptr_t v = 0; v < 3000; ++v) {
            a.Insert(P(v), static_cast<unsigned long>((v * 31) % (a.Count() + 1)));
            t.Insert((v * 2654435761u) % 5000, P(v));
        }
        Container b(a);
        Container c(100, 10, 10);
        c = a;
        b.ChangeSize(10000);
        for (unsigned long i = 0; i < 2000; ++i) {
            a.Remove((i * 17) % a.Count());
            t.Remove(i);
        }
        Table u(t);
        u = t;
        Container big(40000UL);
        big.ChangeSize(5);
        c.Clear();
        return a.Count() + b.Count() + c.Count() + t.Count() + u.Count() + big.Count();
    };
    work(); // the runtime's own first-use allocations happen here

    kstest::HeapUsage const before = kstest::CurrentHeapUsage();
    std::size_t heldBlocks = 0;
    {
        Container held(4, 2, 2);
        for (std::uintptr_t v = 0; v < 1000; ++v)
            held.Insert(P(v), 1000UL);
        heldBlocks = kstest::CurrentHeapUsage().blocks;
    }
    volatile std::size_t sink = work();
    (void)sink;
    kstest::HeapUsage const after = kstest::CurrentHeapUsage();

    EXPECT_GT(heldBlocks, before.blocks + 200) << "the heap walk does not see the container's blocks";
    EXPECT_EQ(before.blocks, after.blocks);
    EXPECT_EQ(before.bytes, after.bytes);
}

// ------------------------------------------------------------ small values

TEST(PairAndRange, Basics)
{
    Pair p;
    EXPECT_EQ(0, p.A());
    EXPECT_EQ(0, p.B());
    Pair q(3, -4);
    EXPECT_TRUE(q != p);
    p = q;
    EXPECT_TRUE(p == q);
    p.B() = 5;
    EXPECT_EQ(5, p.B());
    EXPECT_TRUE(p != q);
    EXPECT_FALSE(Pair(1, 2) == Pair(2, 1));

    Range r(5, 2);
    EXPECT_FALSE(r.IsInside(3));
    r.Justify();
    EXPECT_EQ(2, r.Min());
    EXPECT_EQ(5, r.Max());
    EXPECT_EQ(4, r.Len());
    EXPECT_TRUE(r.IsInside(2));
    EXPECT_TRUE(r.IsInside(5));
    EXPECT_FALSE(r.IsInside(6));
    EXPECT_FALSE(r.IsInside(1));
    EXPECT_FALSE(Range().IsSet());
    EXPECT_TRUE(Range(0, 1).IsSet());
    EXPECT_TRUE(Range(-1, 0).IsSet());
    Range s;
    s.Min() = -3;
    EXPECT_EQ(4, s.Len());
    s.Justify();
    EXPECT_EQ(-3, s.Min());
}
