// The pointer map against std::map over random operations.
#include "mfc/CMapPtrToPtr.h"
#include "tests/support/LeakCounters.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace {
void *P(std::uintptr_t v) { return reinterpret_cast<void *>(v); }
} // namespace

TEST(CMapPtrToPtr, AgreesWithStdMapOverRandomOperationsAndGivesItsBlocksBack)
{
    auto const before = kstest::CurrentHeapUsage();
    for (unsigned buckets : {1u, 17u, 1259u}) {
        CMapPtrToPtr m(20);
        m.InitHashTable(buckets);
        std::map<void *, void *> model;
        std::mt19937 rng(buckets);
        for (int step = 0; step < 20000; ++step) {
            void *key = P((rng() % 500) * 16); // handle-like keys, multiples of 16
            void *value = P(rng());
            switch (rng() % 4) {
            case 0:
            case 1:
                m.SetAt(key, value);
                model[key] = value;
                break;
            case 2:
                ASSERT_EQ(model.erase(key) == 1, m.RemoveKey(key));
                break;
            default: {
                void *got = nullptr;
                bool found = m.Lookup(key, got);
                auto it = model.find(key);
                ASSERT_EQ(it != model.end(), found);
                ASSERT_TRUE(!found || it->second == got);
            }
            }
            ASSERT_EQ(int(model.size()), m.GetCount());
        }
        // Iteration visits every pair once.
        std::map<void *, void *> seen;
        POSITION pos = m.GetStartPosition();
        while (pos) {
            void *k, *v;
            m.GetNextAssoc(pos, k, v);
            ASSERT_TRUE(seen.emplace(k, v).second) << "visited twice";
        }
        EXPECT_EQ(model, seen);
    }
    EXPECT_EQ(before.blocks, kstest::CurrentHeapUsage().blocks);
}

TEST(CMapPtrToPtr, NullKeysAndEmptyMaps)
{
    CMapPtrToPtr m;
    void *v = P(1);
    EXPECT_FALSE(m.Lookup(nullptr, v));
    m[nullptr] = P(42);
    EXPECT_TRUE(m.Lookup(nullptr, v));
    EXPECT_EQ(P(42), v);
    m.InitHashTable(99); // not empty: ignored
    EXPECT_NE(99u, m.GetHashTableSize());
}
