// Table: long random runs against std::map on both sides of the linear-scan
// limit, and pairs that a block boundary cuts in two.
#include "base/Table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <vector>

namespace {

void *P(std::uintptr_t v) { return reinterpret_cast<void *>(v); }

class TableProbe : public Table
{
public:
    using Table::Table;
    std::vector<unsigned> Sizes() const { return {m_nBlockSize, m_nInitSize, m_nReSize}; }
    bool PairCutByBlock() const // some block starts with an object entry
    {
        unsigned long pos = 0;
        for (Block const *b = m_pFirstBlock; b; pos += b->m_nCount, b = b->m_pNext)
            if (pos % 2)
                return true;
        return false;
    }
};

using Pairs = std::vector<std::pair<unsigned __int64, void *>>;

// The pairs as stored, read position by position.
Pairs Stored(Table const &t)
{
    Pairs r;
    for (unsigned long i = 0; i + 1 < t.GetSize(); i += 2)
        r.push_back({reinterpret_cast<std::uintptr_t>(t.GetCntObject(i)), t.GetCntObject(i + 1)});
    return r;
}

} // namespace

TEST(TableBasics, SizesCountPairs)
{
    EXPECT_EQ((std::vector<unsigned>{16368, 4, 4}), TableProbe(2, 2).Sizes());
    EXPECT_EQ((std::vector<unsigned>{16368 - 32 + 16368 % 32, 32, 32}), TableProbe().Sizes());
}

TEST(TableCursor, PairsCutByBlocks)
{
    TableProbe t;
    std::vector<unsigned __int64> keys(20000);
    for (std::size_t i = 0; i < keys.size(); ++i)
        keys[i] = (i + 1) * 3;
    std::shuffle(keys.begin(), keys.end(), std::mt19937(11));
    for (unsigned __int64 k : keys)
        ASSERT_EQ(1, t.Insert(k, P(k)));
    ASSERT_TRUE(t.PairCutByBlock()) << "the test would miss pairs that straddle blocks";

    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(P(keys[0]), t.First());
    for (std::size_t i = 1; i < keys.size(); ++i)
        ASSERT_EQ(P(keys[i]), t.Next()) << "forward at pair " << i;
    EXPECT_EQ(nullptr, t.Next());
    EXPECT_EQ(keys.back(), t.GetCurKey());
    for (std::size_t i = keys.size() - 1; i-- > 0;)
        ASSERT_EQ(P(keys[i]), t.Prev()) << "back at pair " << i;
    for (std::size_t i = 0; i < keys.size(); i += 97)
        ASSERT_EQ(keys[i], t.GetKey(P(keys[i])));
    for (std::size_t i = 0; i < keys.size(); i += 2)
        ASSERT_EQ(P(keys[i]), t.Remove(keys[i]));
    for (std::size_t i = 0; i < keys.size(); ++i)
        ASSERT_EQ(i % 2 ? P(keys[i]) : nullptr, t.Get(keys[i]));
}

namespace {

// The model's cursor is the current pair's key. Removing the current pair
// moves it to the next pair, or the previous one at the end; Next and Prev
// stop at the ends.
void RandomRun(unsigned seed, int steps, unsigned keyRange)
{
    Table t(2, 3);
    std::map<unsigned __int64, void *> m;
    bool hasCur = false;
    unsigned __int64 cur = 0;
    std::mt19937 rng(seed);
    auto pick = [&](unsigned n) { return unsigned(rng() % n); };

    for (int step = 0; step < steps; ++step) {
        // Keys over the whole unsigned range, the not-found value among them;
        // objects with duplicates and null.
        unsigned const r = pick(keyRange);
        unsigned __int64 const k = r ? r * 0x9E3779B97F4A7C15ULL : 0xFFFFFFFFULL;
        void *const o = P(pick(30));
        auto const it = m.find(k);
        auto const holder = std::find_if(m.begin(), m.end(), [o](auto const &kv) { return kv.second == o; });
        void *got = nullptr, *want = nullptr;
        unsigned const op = pick(14);
        switch (op) {
        case 0: case 1: case 2:
            ASSERT_EQ(int(it == m.end()), t.Insert(k, o)) << "step " << step;
            m.emplace(k, o);
            if (!hasCur)
                hasCur = true, cur = k;
            break;
        case 3: case 4:
            got = t.Remove(k);
            if (it != m.end()) {
                want = it->second;
                if (hasCur && cur == k) {
                    if (std::next(it) != m.end())
                        cur = std::next(it)->first;
                    else
                        hasCur = it != m.begin(), cur = hasCur ? std::prev(it)->first : 0;
                }
                m.erase(it);
            }
            break;
        case 5: got = t.Replace(k, o); if (it != m.end()) want = it->second, it->second = o; break;
        case 6:
            got = t.Get(k), want = it != m.end() ? it->second : nullptr;
            ASSERT_EQ(it != m.end(), bool(t.IsKeyValid(k))) << "step " << step;
            ASSERT_EQ(holder != m.end() ? holder->first : TABLE_KEY_NOT_FOUND, t.GetKey(o)) << "step " << step;
            break;
        case 7: got = t.Seek(k); if (it != m.end()) want = it->second, cur = k; break;
        case 8: got = t.Seek(o); if (holder != m.end()) want = o, cur = holder->first; break;
        case 9: case 10: {
            bool const forward = op == 9;
            got = forward ? t.Next() : t.Prev();
            auto at = m.find(cur);
            if (hasCur && (forward ? std::next(at) != m.end() : at != m.begin())) {
                at = forward ? std::next(at) : std::prev(at);
                want = at->second, cur = at->first;
            }
            break;
        }
        case 11: case 12:
            got = op == 11 ? t.First() : t.Last();
            if (hasCur) {
                auto at = op == 11 ? m.begin() : std::prev(m.end());
                want = at->second, cur = at->first;
            }
            break;
        default: { // the run goes on with a copy of a copy, now and then empty
            Table copy(t), other(1, 1);
            other.Insert(1, P(1));
            other = copy;
            ASSERT_TRUE(other == t && !(other != t) && other.GetCurKey() == t.GetCurKey()) << "step " << step;
            if (pick(50) == 0)
                other.Clear(), m.clear(), hasCur = false;
            t = other;
        }
        }
        ASSERT_EQ(want, got) << "step " << step << ", op " << op;
        ASSERT_EQ(m.size(), t.Count()) << "step " << step;
        ASSERT_EQ(Pairs(m.begin(), m.end()), Stored(t)) << "step " << step << ", op " << op;
        ASSERT_EQ(hasCur ? cur : TABLE_KEY_NOT_FOUND, t.GetCurKey()) << "step " << step << ", op " << op;
        ASSERT_EQ(hasCur ? m[cur] : nullptr, t.GetCurObject()) << "step " << step;
    }
}

} // namespace

TEST(TableRandom, AroundTheLinearScanLimit) { RandomRun(21, 100000, 40); } // pair counts across 24
TEST(TableRandom, WiderKeyRange) { RandomRun(22, 100000, 400); }
