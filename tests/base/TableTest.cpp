// Table: sorted unique keys, both search regimes, the cursor on pairs, and a
// long random run against std::map.
#include "base/Table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

void *P(std::uintptr_t v) { return reinterpret_cast<void *>(v); }

class TableProbe : public Table
{
public:
    using Table::Table;

    unsigned short BlockSize() const { return m_nBlockSize; }
    unsigned short InitSize() const { return m_nInitSize; }
    unsigned short ReSize() const { return m_nReSize; }

    // Container positions at which blocks begin.
    std::vector<unsigned long> BlockStarts() const
    {
        std::vector<unsigned long> r;
        unsigned long pos = 0;
        for (Block const *b = m_pFirstBlock; b; b = b->m_pNext) {
            r.push_back(pos);
            pos += b->m_nCount;
        }
        return r;
    }
};

// Null objects are legal, so the walk counts its steps rather than waiting
// for a null from Next.
std::vector<unsigned __int64> KeysByWalk(Table &t)
{
    std::vector<unsigned __int64> keys;
    t.First();
    for (unsigned long i = 0; i < t.Count(); ++i) {
        if (i)
            t.Next();
        keys.push_back(t.GetCurKey());
    }
    return keys;
}

// The stored pairs read straight from the container, in order.
std::vector<std::pair<unsigned __int64, void *>> Pairs(Table const &t)
{
    std::vector<std::pair<unsigned __int64, void *>> r;
    for (unsigned long i = 0; i + 1 < t.GetSize(); i += 2)
        r.push_back({reinterpret_cast<std::uintptr_t>(t.GetCntObject(i)), t.GetCntObject(i + 1)});
    return r;
}

} // namespace

// ------------------------------------------------------------ basics

TEST(TableBasics, SizesArePairCounts)
{
    TableProbe small(2, 2);
    EXPECT_EQ(16368u, small.BlockSize());
    EXPECT_EQ(4u, small.InitSize());
    EXPECT_EQ(4u, small.ReSize());
    TableProbe byDefault;
    EXPECT_EQ(32u, byDefault.InitSize());
    EXPECT_EQ(32u, byDefault.ReSize());
    EXPECT_EQ(16368u - 32 + 16368 % 32, byDefault.BlockSize()) << "cut by the step, as any container's";
}

TEST(TableBasics, SmallTableSortsAndRefusesDuplicates)
{
    Table t;
    unsigned __int64 const keys[] = {50, 10, 40, 0, 30, 20, 0xFFFFFFFFFFFFFFFFULL, 0x8000000000000000ULL};
    for (unsigned __int64 k : keys)
        EXPECT_EQ(1, t.Insert(k, P(k + 1)));
    EXPECT_EQ(8u, t.Count());
    EXPECT_EQ(16u, t.GetSize());

    std::vector<unsigned __int64> sorted(std::begin(keys), std::end(keys));
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, KeysByWalk(t)) << "keys are ordered as unsigned";

    t.Seek(30ULL);
    Table const before(t);
    EXPECT_EQ(0, t.Insert(40, P(999)));
    EXPECT_TRUE(t == before);
    EXPECT_EQ(30u, t.GetCurKey());
    EXPECT_EQ(P(41), t.Get(40));
    for (unsigned __int64 k : keys) {
        EXPECT_EQ(P(k + 1), t.Get(k));
        EXPECT_TRUE(t.IsKeyValid(k));
        EXPECT_EQ(k, t.GetKey(P(k + 1)));
    }
    EXPECT_FALSE(t.IsKeyValid(35));
}

TEST(TableBasics, LargeTableStaysSortedByBisection)
{
    Table t(2, 2);
    std::mt19937_64 rng(7);
    std::map<unsigned __int64, void *> model;
    while (model.size() < 300) {
        unsigned __int64 k = rng() >> (rng() % 64);
        std::uintptr_t obj = model.size() + 1;
        int const want = model.emplace(k, P(obj)).second ? 1 : 0;
        ASSERT_EQ(want, t.Insert(k, P(obj))) << "at " << model.size() << " pairs";
    }
    std::vector<unsigned __int64> keys;
    for (auto const &[k, v] : model) {
        keys.push_back(k);
        ASSERT_EQ(v, t.Get(k));
    }
    EXPECT_EQ(keys, KeysByWalk(t));
    // A duplicate at either end and in the middle is still refused.
    for (unsigned __int64 k : {keys.front(), keys[150], keys.back()})
        EXPECT_EQ(0, t.Insert(k, P(1)));
    EXPECT_EQ(300u, t.Count());
    unsigned __int64 absent = keys[150] + 1;
    while (model.count(absent))
        ++absent;
    EXPECT_EQ(nullptr, t.Get(absent));
    EXPECT_FALSE(t.IsKeyValid(absent));
}

TEST(TableBasics, AbsentKeysAndObjects)
{
    Table t;
    EXPECT_EQ(nullptr, t.First());
    EXPECT_EQ(nullptr, t.Last());
    EXPECT_EQ(nullptr, t.Next());
    EXPECT_EQ(nullptr, t.Prev());
    EXPECT_EQ(TABLE_KEY_NOT_FOUND, t.GetCurKey());
    EXPECT_EQ(nullptr, t.GetCurObject());
    EXPECT_EQ(TABLE_KEY_NOT_FOUND, t.GetKey(P(1)));

    for (unsigned __int64 k = 10; k <= 40; k += 10)
        t.Insert(k, P(k + 1));
    t.Seek(20ULL);
    Table const before(t);
    EXPECT_EQ(nullptr, t.Get(25));
    EXPECT_EQ(nullptr, t.Get(5));
    EXPECT_EQ(nullptr, t.Get(45));
    EXPECT_EQ(nullptr, t.Remove(25));
    EXPECT_EQ(nullptr, t.Replace(25, P(1)));
    EXPECT_EQ(nullptr, t.Seek(25ULL));
    EXPECT_EQ(nullptr, t.Seek(P(25)));
    EXPECT_EQ(TABLE_KEY_NOT_FOUND, t.GetKey(P(25)));
    // Keys are never taken for objects.
    EXPECT_EQ(TABLE_KEY_NOT_FOUND, t.GetKey(P(20)));
    EXPECT_EQ(nullptr, t.Seek(P(30)));
    EXPECT_TRUE(t == before);
    EXPECT_EQ(20u, t.GetCurKey());

    EXPECT_EQ(20u, t.GetKey(P(21)));
    EXPECT_EQ(P(31), t.Replace(30, P(11)));
    EXPECT_EQ(10u, t.GetKey(P(11))) << "the first pair holding the object";
    EXPECT_EQ(P(11), t.Seek(P(11)));
    EXPECT_EQ(10u, t.GetCurKey());
}

TEST(TableCursor, EndsAndRemovals)
{
    Table t;
    for (unsigned __int64 k = 1; k <= 5; ++k)
        t.Insert(k * 100, P(k));
    EXPECT_EQ(100u, t.GetCurKey()) << "the first pair inserted is current";
    t.Insert(50, P(50));
    EXPECT_EQ(100u, t.GetCurKey()) << "an insertion in front keeps the current pair";

    EXPECT_EQ(P(5), t.Last());
    EXPECT_EQ(nullptr, t.Next());
    EXPECT_EQ(500u, t.GetCurKey());
    EXPECT_EQ(P(5), t.GetCurObject());
    EXPECT_EQ(P(4), t.Prev());
    EXPECT_EQ(400u, t.GetCurKey());

    EXPECT_EQ(P(50), t.First());
    EXPECT_EQ(nullptr, t.Prev());
    EXPECT_EQ(50u, t.GetCurKey());
    EXPECT_EQ(P(1), t.Next());

    t.Seek(300ULL);
    EXPECT_EQ(P(3), t.Remove(300));
    EXPECT_EQ(400u, t.GetCurKey()) << "the successor pair becomes current";
    EXPECT_EQ(P(1), t.Remove(100));
    EXPECT_EQ(400u, t.GetCurKey()) << "a removal elsewhere keeps the current pair";
    t.Last();
    EXPECT_EQ(P(5), t.Remove(500));
    EXPECT_EQ(400u, t.GetCurKey()) << "without a successor, the predecessor";
    EXPECT_EQ(P(4), t.GetCurObject());
    EXPECT_EQ(P(2), t.Seek(P(2)));
    EXPECT_EQ(200u, t.GetCurKey());
    t.Clear();
    EXPECT_EQ(0u, t.Count());
    EXPECT_EQ(nullptr, t.First());
}

// Pairs split by a block boundary: the table crosses blocks of its container.
TEST(TableCursor, PairsAcrossBlocks)
{
    TableProbe t;
    std::vector<unsigned __int64> keys(20000);
    for (std::size_t i = 0; i < keys.size(); ++i)
        keys[i] = (i + 1) * 3;
    std::shuffle(keys.begin(), keys.end(), std::mt19937(11));
    for (unsigned __int64 k : keys)
        ASSERT_EQ(1, t.Insert(k, P(k)));

    auto const starts = t.BlockStarts();
    ASSERT_GT(starts.size(), 1u);
    bool straddles = std::any_of(starts.begin(), starts.end(), [](unsigned long s) { return s % 2 == 1; });
    ASSERT_TRUE(straddles) << "no pair is split by a block boundary; the test would miss that case";

    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, KeysByWalk(t));
    EXPECT_EQ(P(keys.back()), t.GetCurObject());
    for (std::size_t i = keys.size() - 1; i-- > 0;)
        ASSERT_EQ(P(keys[i]), t.Prev()) << "walking back at pair " << i;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        ASSERT_EQ(P(keys[i]), t.Get(keys[i]));
        if (i % 97 == 0 || i + 1 == keys.size()) { // a linear search each
            ASSERT_EQ(keys[i], t.GetKey(P(keys[i])));
        }
    }
    for (std::size_t i = 0; i < keys.size(); i += 2)
        ASSERT_EQ(P(keys[i]), t.Remove(keys[i]));
    for (std::size_t i = 0; i < keys.size(); ++i)
        ASSERT_EQ(i % 2 ? P(keys[i]) : nullptr, t.Get(keys[i]));
    EXPECT_EQ(keys.size() / 2, t.Count());
}

// ------------------------------------------------------------ random run

namespace {

void RandomRun(unsigned seed, int steps, unsigned keyRange)
{
    Table t(2, 3);
    std::map<unsigned __int64, void *> m;
    // The model's cursor: the current pair's key, while there is a pair.
    bool hasCur = false;
    unsigned __int64 cur = 0;

    std::mt19937 rng(seed);
    auto pick = [&](unsigned n) { return unsigned(rng() % n); };
    // Spread over the whole unsigned range, the not-found value among them.
    auto key = [&] {
        unsigned r = pick(keyRange);
        return r == 0 ? 0xFFFFFFFFULL : r * 0x9E3779B97F4A7C15ULL;
    };
    auto obj = [&] { return P(pick(30)); }; // null and duplicates included
    auto firstHolding = [&](void const *o) {
        for (auto const &[k, v] : m)
            if (v == o)
                return std::optional<unsigned __int64>(k);
        return std::optional<unsigned __int64>();
    };

    for (int step = 0; step < steps; ++step) {
        std::string what;
        void *got = nullptr, *want = nullptr;
        unsigned const op = pick(16);
        switch (op) {
        case 0:
        case 1:
        case 2:
        case 3: {
            unsigned __int64 k = key();
            void *o = obj();
            what = "Insert";
            bool const empty = m.empty();
            int const added = m.emplace(k, o).second;
            if (t.Insert(k, o) != added)
                FAIL() << "step " << step << ": Insert result";
            if (empty)
                hasCur = true, cur = k;
            break;
        }
        case 4:
        case 5: {
            unsigned __int64 k = key();
            what = "Remove";
            got = t.Remove(k);
            auto it = m.find(k);
            if (it != m.end()) {
                want = it->second;
                if (hasCur && cur == k) {
                    auto next = std::next(it);
                    if (next != m.end())
                        cur = next->first;
                    else if (it != m.begin())
                        cur = std::prev(it)->first;
                    else
                        hasCur = false;
                }
                m.erase(it);
            }
            break;
        }
        case 6: {
            unsigned __int64 k = key();
            void *o = obj();
            what = "Replace";
            got = t.Replace(k, o);
            if (auto it = m.find(k); it != m.end())
                want = it->second, it->second = o;
            break;
        }
        case 7: {
            unsigned __int64 k = key();
            what = "Get/IsKeyValid";
            got = t.Get(k);
            auto it = m.find(k);
            want = it != m.end() ? it->second : nullptr;
            if (bool(t.IsKeyValid(k)) != (it != m.end()))
                FAIL() << "step " << step << ": IsKeyValid";
            break;
        }
        case 8: {
            void *o = obj();
            what = "GetKey";
            auto k = firstHolding(o);
            if (t.GetKey(o) != k.value_or(TABLE_KEY_NOT_FOUND))
                FAIL() << "step " << step << ": GetKey";
            break;
        }
        case 9: {
            unsigned __int64 k = key();
            what = "Seek(key)";
            got = t.Seek(k);
            if (auto it = m.find(k); it != m.end())
                want = it->second, cur = k;
            break;
        }
        case 10: {
            void *o = obj();
            what = "Seek(obj)";
            got = t.Seek(o);
            if (auto k = firstHolding(o))
                want = o, cur = *k;
            break;
        }
        case 11:
        case 12: {
            bool const forward = pick(2);
            what = forward ? "Next" : "Prev";
            got = forward ? t.Next() : t.Prev();
            if (hasCur) {
                auto it = m.find(cur);
                if (forward && std::next(it) != m.end())
                    ++it, want = it->second, cur = it->first;
                if (!forward && it != m.begin())
                    --it, want = it->second, cur = it->first;
            }
            break;
        }
        case 13: {
            bool const first = pick(2);
            what = first ? "First" : "Last";
            got = first ? t.First() : t.Last();
            if (!m.empty()) {
                auto it = first ? m.begin() : std::prev(m.end());
                want = it->second, cur = it->first;
            }
            break;
        }
        case 14: {
            what = "copy";
            Table copy(t);
            Table other(1, 1);
            other.Insert(1, P(1));
            other = copy;
            if (!(other == t) || other != t || other.GetCurKey() != t.GetCurKey())
                FAIL() << "step " << step << ": copy differs";
            if (pick(50) == 0) {
                t.Clear();
                m.clear();
                hasCur = false;
            } else
                t = other;
            break;
        }
        default: {
            what = "GetCurObject";
            got = t.GetCurObject();
            want = hasCur ? m[cur] : nullptr;
            break;
        }
        }
        if (got != want)
            FAIL() << "step " << step << ": " << what << " returned " << got << ", model " << want;
        if (t.Count() != m.size() || t.GetSize() != 2 * m.size())
            FAIL() << "step " << step << " after " << what << ": count " << t.Count() << ", model " << m.size();
        if (t.GetCurKey() != (hasCur ? cur : TABLE_KEY_NOT_FOUND) || t.GetCurObject() != (hasCur ? m[cur] : nullptr))
            FAIL() << "step " << step << " after " << what << ": cursor on " << t.GetCurKey();
        auto const pairs = Pairs(t);
        if (!std::equal(m.begin(), m.end(), pairs.begin(), pairs.end(),
                        [](auto const &a, auto const &b) { return a.first == b.first && a.second == b.second; }))
            FAIL() << "step " << step << " after " << what << ": pairs differ";
    }
}

} // namespace

TEST(TableRandom, AroundTheLinearScanLimit)
{
    RandomRun(21, 100000, 40); // the pair count wanders across 24
}

TEST(TableRandom, WiderKeyRange)
{
    RandomRun(22, 100000, 400);
}
