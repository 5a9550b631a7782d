// Hostile input for the dock record readers: mutated, cut and random buffers.
// Every reading must end with the cursor inside the data and no section
// open, give false or a well-formed object, and give the same answer
// whatever lies in memory behind the data (a reader that looked past the
// end would see the difference).
#include "docking/DataBuffer.h"
#include "docking/DockAlign.h"
#include "docking/DockNeighbour.h"
#include "docking/DockPosition.h"
#include "tests/docking/RecordBytes.h"
#include "tests/support/LeakLoop.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace kstest;

namespace {

DockPosition SeedPosition(std::mt19937 &rng)
{
    static unsigned long const aligns[] = {0, DockAlignLeft, DockAlignTop, DockAlignRight, DockAlignBottom};
    static int const sizes[] = {0, 1, 250, 32999, 33000, -3};
    DockPosition p;
    if (rng() % 5)
        p.SetName(SString('P') + SString(int(rng() % 1000)));
    p.SetSize(Size(sizes[rng() % 6], sizes[rng() % 6]));
    p.SetMarginAlign(aligns[rng() % 5]);
    for (int i = 0, n = rng() % 8 == 0 ? 99 : int(rng() % 5); i < n; ++i)
        p.GetNeighbourVec().emplace_back(SString('N') + SString(i), aligns[rng() % 5], NeighbourContactType(rng() % 4),
                                         rng() % 2 != 0, rng() % 2 != 0);
    p.SetPos(Point(int(rng() % 2000) - 1, int(rng() % 2000) - 1));
    p.SetRectRecentFloat(CRectangle(10, 10, int(rng() % 40), 300));
    return p;
}

// The same bytes, with filler of the given value in the buffer's memory
// right behind them.
void Load(DataBuffer &b, Bytes const &bytes, unsigned char filler)
{
    Bytes big(bytes.size() + 256, filler);
    b.SetData(big.data(), static_cast<unsigned long>(big.size()));
    b.SetData(bytes.data(), static_cast<unsigned long>(bytes.size()));
}

void ExpectWellFormed(DockPosition const &p)
{
    ASSERT_LE(p.GetName().Len(), DOCK_MAX_NAME_LEN);
    ASSERT_LE(p.GetNeighbourVec().size(), std::size_t(DOCK_MAX_NEIGHBOURS));
    ASSERT_LE(p.GetNeighbourVec().capacity(), std::size_t(DOCK_MAX_NEIGHBOURS));
    for (DockNeighbour const &n : p.GetNeighbourVec()) {
        ASSERT_LE(n.GetName().Len(), DOCK_MAX_NAME_LEN);
        ASSERT_LT(unsigned(n.GetContact()), 4u);
    }
}

} // namespace

TEST(DockRecordFuzz, PositionsAndNeighboursFromHostileBytes)
{
    std::mt19937 rng(20261205);
    std::vector<Bytes> seeds;
    for (int i = 0; i < 64; ++i)
        seeds.push_back(Written(SeedPosition(rng)));

    int rounds = 0, accepted = 0;
    DataBuffer low, high;
    auto fuzz = [&](int round) {
        if (testing::Test::HasFatalFailure())
            return; // the first wrong answer says enough
        ++rounds;
        Bytes input;
        int kind = round % 10;
        if (kind < 7) {
            input = Mutate(seeds[rng() % seeds.size()], rng, seeds);
        } else if (kind < 9) {
            Bytes const &s = seeds[rng() % seeds.size()];
            input.assign(s.begin(), s.begin() + long(rng() % (s.size() + 1)));
        } else {
            input.resize(rng() % 300);
            for (auto &c : input)
                c = static_cast<unsigned char>(rng() % 3 ? rng() % 8 : rng());
        }

        Load(low, input, 0x00);
        Load(high, input, 0xFF);
        DockPosition a, b;
        bool okA = a.ReadFromDataBuffer(low);
        ASSERT_EQ(okA, b.ReadFromDataBuffer(high)) << "round " << round;
        ASSERT_EQ(a, b) << "round " << round << ": the result depends on memory behind the data";
        ASSERT_EQ(low.GetPos(), high.GetPos());
        ASSERT_LE(low.GetPos(), low.GetSize());
        ASSERT_EQ(low.GetSectionDepth(), 0);
        ExpectWellFormed(a);

        if (okA) {
            ++accepted;
            // What was accepted writes and reads back to itself.
            Bytes again = Written(a);
            DataBuffer c = FromBytes(again);
            DockPosition back;
            ASSERT_TRUE(back.ReadFromDataBuffer(c)) << "round " << round;
            ASSERT_EQ(back, a) << "round " << round;
        }

        Load(low, input, 0x00);
        Load(high, input, 0xFF);
        DockNeighbour na, nb;
        ASSERT_EQ(na.ReadFromDataBuffer(low), nb.ReadFromDataBuffer(high));
        ASSERT_EQ(na, nb);
        ASSERT_LE(na.GetName().Len(), DOCK_MAX_NAME_LEN);
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 20000}, fuzz));
    // The mutations must reach the accepting paths too, or the run proves
    // little about them.
    EXPECT_GT(accepted, rounds / 20);
    EXPECT_LT(accepted, rounds);
}
