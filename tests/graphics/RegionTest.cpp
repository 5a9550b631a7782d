// Region: shape bookkeeping, copy on write, and set operations whose point
// sets must be the ones the platform's CombineRgn computes from the same
// shapes. No test may leave a GDI object behind.
#include <windows.h>

#include <memory>
#include <utility>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/Region.h"
#include "mfc/CRgn.h"
#include "tests/support/LeakCounters.h"
#include "tests/support/LeakLoop.h"

namespace {

struct RgnDeleter
{
    void operator()(HRGN h) const { DeleteObject(h); }
};
using Rgn = std::unique_ptr<std::remove_pointer_t<HRGN>, RgnDeleter>;

// The platform's reading of each shape, built here independently of Region.
Rgn RectRgnOf(CRectangle const &r) { return Rgn(CreateRectRgn(r.Left(), r.Top(), r.Right(), r.Bottom())); }

Rgn PolyPolygonRgnOf(std::vector<std::vector<POINT>> const &polys)
{
    std::vector<POINT> all;
    std::vector<INT> counts;
    for (auto const &p : polys) {
        all.insert(all.end(), p.begin(), p.end());
        counts.push_back(INT(p.size()));
    }
    return Rgn(CreatePolyPolygonRgn(all.data(), counts.data(), int(counts.size()), ALTERNATE));
}

CPolygon ToPolygon(std::vector<POINT> const &pts)
{
    CPolygon poly(unsigned(pts.size()));
    for (unsigned i = 0; i < pts.size(); ++i)
        poly.ChangePoint(Point(pts[i].x, pts[i].y), i);
    return poly;
}

// The point set of a region, null counted as empty, as the platform compares it.
::testing::AssertionResult SamePoints(HRGN got, HRGN want)
{
    Rgn empty(CreateRectRgn(0, 0, 0, 0));
    if (EqualRgn(got ? got : empty.get(), want ? want : empty.get()))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "EqualRgn differs";
}

::testing::AssertionResult SamePoints(Region const &r, HRGN want)
{
    Rgn got(r.CreateShapeHRGN());
    return SamePoints(got.get(), want);
}

// A random shape, as a Region and as the platform region of the same shape.
struct Shape
{
    Region region;
    Rgn rgn;
};

std::vector<POINT> RandomPolygon(std::mt19937 &rng)
{
    std::vector<POINT> pts(3 + rng() % 6);
    for (auto &p : pts)
        p = POINT{LONG(rng() % 80) - 40, LONG(rng() % 80) - 40};
    return pts;
}

Shape RandomShape(std::mt19937 &rng)
{
    switch (rng() % 4) {
    case 1: {
        int l = int(rng() % 80) - 40, t = int(rng() % 80) - 40;
        CRectangle r(l, t, l + int(rng() % 40) - 5, t + int(rng() % 40) - 5);
        if (!r.IsEmpty())
            return Shape{Region(r), RectRgnOf(r)};
        [[fallthrough]];
    }
    case 0:
        return Shape{Region(), Rgn(CreateRectRgn(0, 0, 0, 0))};
    case 2: {
        auto pts = RandomPolygon(rng);
        return Shape{Region(ToPolygon(pts)), PolyPolygonRgnOf({pts})};
    }
    default: {
        std::vector<std::vector<POINT>> polys(1 + rng() % 3);
        CPolyPolygon pp;
        for (auto &p : polys) {
            p = RandomPolygon(rng);
            pp.Insert(ToPolygon(p), pp.Count());
        }
        return Shape{Region(pp), PolyPolygonRgnOf(polys)};
    }
    }
}

} // namespace

TEST(Region, OperationChainsAgreeWithCombineRgnAndLeaveNothingBehind)
{
    // A chain of operations on one region, mirrored on one platform region.
    std::mt19937 rng(9);
    int const modes[4] = {RGN_OR, RGN_AND, RGN_DIFF, RGN_XOR};
    auto chain = [&](int round) {
        if (testing::Test::HasFatalFailure())
            return; // the first broken chain says enough
        Shape acc = RandomShape(rng);
        // A clip on a polygon region stays put when the region moves, so the
        // mirror cannot follow a move until a set operation has absorbed it.
        bool clipPending = false;
        for (int step = 0; step < 12; ++step) {
            Shape s = RandomShape(rng);
            int m = int(rng() % 7);
            if (m == 4 && clipPending)
                m = 0;
            if (m == 6) {
                // A copy that is written to reads the shape out of the
                // original: both must still be the same shape and point set.
                CRectangle box = acc.region.GetBoundRect();
                Region twin(acc.region);
                // Writes that change no point: Intersect would normalise a
                // rectangle, Move would give a poly-polygon a list of its own.
                if (twin.GetType() == RegionTypeRectangle)
                    twin.Move(0, 0);
                else
                    twin.Intersect(CRectangle(-1000, -1000, 1000, 1000));
                if (rng() % 2) { // the original may be the one written to
                    std::swap(twin, acc.region);
                    clipPending = clipPending || acc.region.GetType() > RegionTypeRectangle;
                }
                ASSERT_TRUE(twin == acc.region);
                ASSERT_EQ(twin.GetBoundRect(), box);
                ASSERT_EQ(acc.region.GetBoundRect(), box);
                ASSERT_TRUE(SamePoints(twin, acc.rgn.get()));
                delete twin.CreateCRgn();
            } else if (m == 4) {
                int dx = int(rng() % 21) - 10, dy = int(rng() % 21) - 10;
                acc.region.Move(dx, dy);
                OffsetRgn(acc.rgn.get(), dx, dy);
            } else if (m == 5) {
                int l = int(rng() % 60) - 30, t = int(rng() % 60) - 30;
                CRectangle c(l, t, l + int(rng() % 50), t + int(rng() % 50));
                acc.region.Intersect(c);
                CombineRgn(acc.rgn.get(), acc.rgn.get(), RectRgnOf(c).get(), RGN_AND);
                clipPending = acc.region.GetType() > RegionTypeRectangle;
            } else {
                // On a copy that shares acc's body: both operands must stay as they were.
                Region result(acc.region);
                ASSERT_TRUE(m == 0   ? result.Union(s.region)
                            : m == 1 ? result.Intersect(s.region)
                            : m == 2 ? result.Exclude(s.region)
                                     : result.Xor(s.region));
                ASSERT_TRUE(SamePoints(acc.region, acc.rgn.get()));
                ASSERT_TRUE(SamePoints(s.region, s.rgn.get()));
                acc.region = result;
                CombineRgn(acc.rgn.get(), acc.rgn.get(), s.rgn.get(), modes[m]);
                clipPending = false;
                if (result.GetType() == RegionTypeRectangle) { // read as a plain rectangle region too
                    Rgn h(result.CreateHRGN());
                    ASSERT_TRUE(SamePoints(h.get(), acc.rgn.get()));
                }
            }
            ASSERT_TRUE(SamePoints(acc.region, acc.rgn.get())) << "round " << round << ", step " << step;
        }
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 50}, chain));
    Region self(CRectangle(0, 0, 10, 10));
    EXPECT_TRUE(self.Xor(self));
    EXPECT_TRUE(self.IsEmpty());
    Region two(CRectangle(0, 0, 10, 10));
    two.Union(Region(CRectangle(20, 0, 30, 10)));
    EXPECT_EQ(two.GetType(), RegionTypePolyPolygon);
    EXPECT_EQ(two.GetBoundRect(), CRectangle(0, 0, 30, 10));
}

TEST(CRgn, OwnsItsRegionAndRefusesASecond)
{
    std::size_t before = kstest::GdiObjectCount();
    {
        CRgn a, b, sum;
        EXPECT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
        EXPECT_FALSE(a.CreateRectRgn(0, 0, 5, 5)); // would leak the first
        RECT r{5, 5, 20, 20};
        EXPECT_TRUE(b.CreateRectRgnIndirect(&r));
        EXPECT_EQ(sum.CombineRgn(&a, &b, RGN_OR), ERROR); // no region to write into
        EXPECT_TRUE(sum.CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(sum.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
        EXPECT_EQ(sum.CombineRgn(&a, nullptr, RGN_AND), ERROR);
        EXPECT_EQ(kstest::GdiObjectCount(), before + 3);

        HRGN h = b.Detach();
        EXPECT_FALSE(b.DeleteObject());
        EXPECT_TRUE(b.Attach(h));
        EXPECT_FALSE(b.Attach(h));
        EXPECT_TRUE(b.DeleteObject());
        EXPECT_EQ(kstest::GdiObjectCount(), before + 2);
    }
    EXPECT_EQ(kstest::GdiObjectCount(), before);
}
