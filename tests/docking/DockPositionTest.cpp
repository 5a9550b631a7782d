// Dock positions and their neighbours: golden records, round trips, the
// validation limits of the reader and the aligned-row query.
#include "docking/DataBuffer.h"
#include "docking/DockAlign.h"
#include "docking/DockNeighbour.h"
#include "docking/DockPosition.h"
#include "tests/docking/RecordBytes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

using namespace kstest;

namespace {

// The reader's answer on bytes; accepted or not, the record is skipped whole.
template <class Record> bool ReadInto(Record &q, Bytes const &bytes)
{
    DataBuffer b = FromBytes(bytes);
    bool ok = q.ReadFromDataBuffer(b);
    EXPECT_EQ(b.GetPos(), b.GetSize()) << "the record was not skipped whole";
    return ok;
}

// Golden records, written out byte by byte from the record description.
// Neighbour "Pane1", right, justified, holder, not free space.
Bytes const kNeighbourPane1 = {
    0x13, 0x00, 0x00, 0x00,                         // section: 19 bytes follow
    0x05, 0x00, 0x00, 0x00, 'P', 'a', 'n', 'e', '1', // name
    0x00, 0x40, 0x00, 0x00,                         // align right
    0x02, 0x00, 0x00, 0x00,                         // contact justified
    0x01,                                           // holder
    0x00,                                           // free space
};

// A position without a name: only name, position and floating rectangle.
Bytes const kPositionNoName = {
    0x1C, 0x00, 0x00, 0x00,                         // section: 28 bytes
    0x00, 0x00, 0x00, 0x00,                         // empty name
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, // position (-1, -1)
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // left 0, top 0
    0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x80, // right, bottom EMPTY
};

// "Out", 200 x 150 at the bottom margin, with the free space above it and
// "Tree" touching its left side; at (10, 20), floated last at
// (100, 100)-(499, 399).
Bytes const kPositionOut = {
    0x5A, 0x00, 0x00, 0x00,                         // section: 90 bytes
    0x03, 0x00, 0x00, 0x00, 'O', 'u', 't',          // name
    0xC8, 0x00, 0x00, 0x00, 0x96, 0x00, 0x00, 0x00, // size 200 x 150
    0x00, 0x80, 0x00, 0x00,                         // margin bottom
    0x02, 0x00, 0x00, 0x00,                         // two neighbours
    0x11, 0x00, 0x00, 0x00,                         //   section: 17 bytes
    0x03, 0x00, 0x00, 0x00, 'G', 'F', 'S',          //   "GFS"
    0x00, 0x20, 0x00, 0x00,                         //   top
    0x03, 0x00, 0x00, 0x00,                         //   equal side
    0x00, 0x01,                                     //   not holder, free space
    0x12, 0x00, 0x00, 0x00,                         //   section: 18 bytes
    0x04, 0x00, 0x00, 0x00, 'T', 'r', 'e', 'e',     //   "Tree"
    0x00, 0x10, 0x00, 0x00,                         //   left
    0x01, 0x00, 0x00, 0x00,                         //   touching
    0x00, 0x00,                                     //   no flags
    0x0A, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, // position (10, 20)
    0x64, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00, // left 100, top 100
    0xF3, 0x01, 0x00, 0x00, 0x8F, 0x01, 0x00, 0x00, // right 499, bottom 399
};

DockPosition OutPosition()
{
    DockPosition p;
    p.SetName("Out");
    p.SetSize(Size(200, 150));
    p.SetMarginAlign(DockAlignBottom);
    p.AddNeighbour("GFS", DockAlignTop, NCT_EQUAL_SIDE, false, true);
    p.AddNeighbour("Tree", DockAlignLeft, NCT_TOUCHING_SIDE, false, false);
    p.SetPos(Point(10, 20));
    p.SetRectRecentFloat(CRectangle(100, 100, 499, 399));
    return p;
}

std::string Name(int len, char c = 'n')
{
    return std::string(std::size_t(len), c);
}

// A position holding only stored fields, with values a reader accepts.
DockPosition RandomPosition(std::mt19937 &rng, int neighbours)
{
    static unsigned long const aligns[] = {0, DockAlignLeft, DockAlignTop, DockAlignRight, DockAlignBottom,
                                           DockAlignAny, 0x1234};
    DockPosition p;
    p.SetName(Name(int(rng() % 60) + 1, char('a' + rng() % 26)).c_str());
    p.SetSize(Size(int(rng() % 32999) + 1, int(rng() % 32999) + 1));
    p.SetMarginAlign(aligns[rng() % 7]);
    for (int i = 0; i < neighbours; ++i) {
        // Names may repeat: the record keeps the list exactly as it is.
        DockNeighbour n(Name(int(rng() % 61), char('A' + rng() % 26)).c_str(), aligns[rng() % 7],
                        NeighbourContactType(rng() % 4), rng() % 2 != 0, rng() % 2 != 0);
        p.GetNeighbourVec().push_back(n);
    }
    p.SetPos(Point(int(rng()), int(rng())));
    if (rng() % 3)
        p.SetRectRecentFloat(CRectangle(int(rng() % 1000) - 500, int(rng() % 1000), int(rng() % 1000) + 511,
                                        int(rng() % 2000) - 1000));
    return p;
}

} // namespace

TEST(DockRecordGolden, WriterProducesTheHandWrittenBytes)
{
    EXPECT_EQ(Written(DockNeighbour("Pane1", DockAlignRight, NCT_JUSTIFIED_SIDE, true, false)), kNeighbourPane1);

    DockPosition noName;
    noName.SetPos(Point(-1, -1));
    EXPECT_EQ(Written(noName), kPositionNoName);

    EXPECT_EQ(Written(OutPosition()), kPositionOut);
}

TEST(DockRecordGolden, ReaderTakesTheHandWrittenBytes)
{
    DockNeighbour n;
    ASSERT_TRUE(ReadInto(n, kNeighbourPane1));
    EXPECT_EQ(n, DockNeighbour("Pane1", DockAlignRight, NCT_JUSTIFIED_SIDE, true, false));

    // Two records in a row, each read up to its own end.
    Bytes all = kPositionOut;
    all.insert(all.end(), kPositionNoName.begin(), kPositionNoName.end());
    DataBuffer r = FromBytes(all);
    DockPosition out;
    ASSERT_TRUE(out.ReadFromDataBuffer(r));
    EXPECT_EQ(out, OutPosition());
    // Without a name the reader keeps its own size and neighbours.
    DockPosition noName = OutPosition();
    ASSERT_TRUE(noName.ReadFromDataBuffer(r));
    DockPosition expected = OutPosition();
    expected.SetName("");
    expected.SetPos(Point(-1, -1));
    EXPECT_EQ(noName, expected) << "an EMPTY floating rectangle is not taken either";
    EXPECT_EQ(r.GetPos(), r.GetSize());
    EXPECT_TRUE(r.IsGood());
}

TEST(DockRecordRoundTrip, RandomPositionsWithNoNameOrZeroToNinetyNineNeighbours)
{
    std::mt19937 rng(99);
    for (int neighbours : {0, 1, 2, 17, 98, 99}) {
        for (int k = 0; k < 20; ++k) {
            DockPosition p = RandomPosition(rng, neighbours);
            if (k % 5 == 0) {
                // What a nameless record leaves out must be the reader's own.
                p.SetName("");
                p.SetSize(Size());
                p.SetMarginAlign(0);
                p.ClearNeighbours();
            }
            Bytes first = Written(p);
            DockPosition q;
            ASSERT_TRUE(ReadInto(q, first)) << neighbours;
            EXPECT_EQ(q, p) << neighbours;
            EXPECT_EQ(Written(q), first);
        }
    }
}

TEST(DockRecordLimits, NamesUpToSixtyCharacters)
{
    for (int len : {60, 61, 200}) {
        DockPosition p = OutPosition(), q;
        p.SetName(Name(len).c_str());
        q.SetName("Before");
        EXPECT_EQ(ReadInto(q, Written(p)), len <= 60) << len;
        EXPECT_EQ(q.GetName(), len <= 60 ? p.GetName() : SString("Before"));

        DockNeighbour n, named(Name(len).c_str(), DockAlignLeft, NCT_NONE, false, false);
        EXPECT_EQ(ReadInto(n, Written(named)), len <= 60) << len;
    }
}

TEST(DockRecordLimits, NinetyNineNeighboursAreAcceptedAHundredAreNot)
{
    for (int count : {99, 100}) {
        DockPosition p = OutPosition(), q;
        p.ClearNeighbours();
        for (int i = 0; i < count; ++i)
            p.AddNeighbour(SString(i), DockAlignLeft, NCT_TOUCHING_SIDE, false, false);
        q.AddNeighbour("Mine", DockAlignTop, NCT_TOUCHING_SIDE, false, false);
        bool ok = ReadInto(q, Written(p));
        EXPECT_EQ(ok, count == 99);
        if (ok) {
            EXPECT_EQ(q, p);
        } else {
            EXPECT_EQ(q.GetNeighbourVec().size(), 1u) << "a refused count must not clear the list";
            EXPECT_EQ(q.GetPos(), Point()) << "reading stops at the refused count";
        }
    }
    Bytes bytes = kPositionOut; // a negative count is no smaller than the limit
    bytes[23] = 0xFF, bytes[24] = 0xFF, bytes[25] = 0xFF, bytes[26] = 0xFF;
    DockPosition q;
    EXPECT_FALSE(ReadInto(q, bytes));
}

TEST(DockRecordLimits, OnlySizesStrictlyInsideTheLimitCarryNeighbours)
{
    for (auto const &c : {std::pair(Size(32999, 32999), true), {Size(33000, 10), false}, {Size(10, 0), false},
                          {Size(-5, 10), false}}) {
        DockPosition p = OutPosition(), q;
        p.SetSize(c.first);
        Bytes bytes = Written(p);
        // Name 7, size 8, position 8, rectangle 16 and the section length 4;
        // margin 4, count 4 and the two neighbour records 21 + 22 on top.
        EXPECT_EQ(bytes.size(), c.second ? 94u : 43u) << c.first.Width() << "x" << c.first.Height();
        q.AddNeighbour("Mine", DockAlignTop, NCT_TOUCHING_SIDE, false, false);
        ASSERT_TRUE(ReadInto(q, bytes));
        EXPECT_EQ(q.GetSize(), c.first);
        EXPECT_EQ(q.GetNeighbourVec().size(), c.second ? 2u : 1u);
        EXPECT_EQ(q.GetPos(), Point(10, 20));
    }
}

TEST(DockRecordLimits, FloatingRectanglesMustBeWiderThanTenPixels)
{
    CRectangle const before(1, 2, 300, 400);
    // 10 wide, 11 wide, no bottom, right of left
    for (auto const &[r, taken] : {std::pair(CRectangle(100, 5, 109, 50), false), {CRectangle(100, 5, 110, 50), true},
                                   {CRectangle(100, 5, 400, RECT_EMPTY), false}, {CRectangle(400, 5, 100, 50), false}}) {
        DockPosition p = OutPosition(), q;
        p.SetRectRecentFloat(r);
        q.SetRectRecentFloat(before);
        EXPECT_TRUE(ReadInto(q, Written(p))) << "a skipped rectangle does not spoil the record";
        EXPECT_EQ(q.GetRectRecentFloat(), taken ? r : before) << r.GetStr().GetStr();
    }
}

TEST(DockRecordLimits, CutRecordsAreNotWhole)
{
    for (std::size_t cut = 0; cut < kPositionOut.size(); ++cut) {
        DockPosition q;
        EXPECT_FALSE(ReadInto(q, Bytes(kPositionOut.begin(), kPositionOut.begin() + long(cut)))) << cut;
    }
    // A section length one byte short cuts the rectangle's last byte.
    Bytes shorter = kPositionOut;
    shorter[0] -= 1;
    DataBuffer b = FromBytes(shorter);
    DockPosition q;
    EXPECT_FALSE(q.ReadFromDataBuffer(b));
    EXPECT_EQ(b.GetPos(), shorter.size() - 1);
}

TEST(DockRecordLimits, ExtraBytesOfANewerWriterAreSkipped)
{
    Bytes longer = kNeighbourPane1;
    longer[0] += 3;
    longer.insert(longer.end(), {0xAA, 0xBB, 0xCC});
    Bytes bytes = longer;
    bytes.insert(bytes.end(), kNeighbourPane1.begin(), kNeighbourPane1.end());
    DataBuffer b = FromBytes(bytes);
    for (int i = 0; i < 2; ++i) {
        DockNeighbour n;
        ASSERT_TRUE(n.ReadFromDataBuffer(b)) << i;
        EXPECT_EQ(n.GetName(), SString("Pane1"));
    }
    EXPECT_EQ(b.GetPos(), b.GetSize());
}

TEST(DockNeighbourList, AlignedNeighboursAreTheLargestRowFramedByTwoJustified)
{
    unsigned long const L = DockAlignLeft, T = DockAlignTop, R = DockAlignRight, B = DockAlignBottom;
    NeighbourContactType const J = NCT_JUSTIFIED_SIDE, To = NCT_TOUCHING_SIDE;
    // The chosen side and the names in the row; the list starts with a sentinel that must go.
    auto fill = [](std::vector<std::tuple<char const *, unsigned long, NeighbourContactType>> const &list) {
        DockPosition p;
        for (auto const &[name, align, contact] : list)
            p.AddNeighbour(name, align, contact, false, false);
        std::vector<DockNeighbour> out{DockNeighbour("Sentinel", 0, NCT_NONE, false, false)};
        unsigned long align = 0x77;
        p.FillAlignedNeighbours(out, align);
        std::string names = std::to_string(align) + ":";
        for (DockNeighbour const &n : out)
            names += std::string(" ") + n.GetName().GetStr();
        return names;
    };
    auto row = [](unsigned long align, char const *names) { return std::to_string(align) + ":" + names; };
    // "Le" has an equal side: it is not part of a row.
    std::vector<std::tuple<char const *, unsigned long, NeighbourContactType>> p{
        {"B1", B, J}, {"L1", L, J}, {"L2", L, To}, {"Le", L, NCT_EQUAL_SIDE}, {"B2", B, J}, {"L3", L, J}};
    EXPECT_EQ(row(L, " L1 L2 L3"), fill(p));
    // A third justified entry on the left disqualifies that side.
    p.emplace_back("L4", L, J);
    EXPECT_EQ(row(B, " B1 B2"), fill(p));
    // Equal rows: the earlier side in the order left, top, right, bottom.
    EXPECT_EQ(row(T, " T1 T2"), fill({{"R1", R, J}, {"R2", R, J}, {"T1", T, J}, {"T2", T, J}}));
    // No side with exactly two justified entries: nothing changes.
    EXPECT_EQ(row(0x77, " Sentinel"),
              fill({{"J", T, J}, {"T", T, To}, {"X", DockAlignAny, J}, {"Y", DockAlignAny, J}}));
}
