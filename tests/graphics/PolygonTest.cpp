// The shared, copy-on-write point lists, replayed against a plain vector per handle:
// no handle may ever see another's change.
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/CPolyPolygon.h"
#include "graphics/CPolygon.h"
#include "graphics/CPolygon3D.h"
#include "graphics/FPolygon.h"
#include "tests/support/LeakCounters.h"

namespace {

template <class Poly, class P> ::testing::AssertionResult Holds(Poly const &poly, std::vector<P> const &model)
{
    if (poly.Count() != model.size() || poly.GetSize() != model.size())
        return ::testing::AssertionFailure() << "count " << poly.Count() << ", model " << model.size();
    for (unsigned int i = 0; i < model.size(); ++i)
        if (!(poly.GetPoint(i) == model[i]) || !(poly.GetPointArr()[i] == model[i]))
            return ::testing::AssertionFailure() << "point " << i << " differs";
    return ::testing::AssertionSuccess();
}

// Random edits on handles that are copied into each other as they go.
template <class Poly, class P, class MakePoint> void ReplayAgainstModels(unsigned seed, MakePoint makePoint)
{
    std::mt19937 rng(seed);
    std::vector<Poly> polys(6, Poly(3));
    std::vector<std::vector<P>> models(6, std::vector<P>(3));
    for (int step = 0; step < 20000; ++step) {
        unsigned k = rng() % polys.size();
        Poly &poly = polys[k];
        std::vector<P> &model = models[k];
        switch (rng() % 7) {
        case 0: { // share another's body
            unsigned from = rng() % polys.size();
            poly = polys[from];
            model = models[from];
            break;
        }
        case 1: { // a copy made in place, then left
            Poly copy(poly);
            copy.ChangePoint(makePoint(rng), 0);
            break;
        }
        case 2: {
            unsigned i = rng() % (model.size() + 2);
            P p = makePoint(rng);
            poly.ChangePoint(p, i);
            if (i < model.size())
                model[i] = p;
            break;
        }
        case 3: {
            unsigned i = rng() % (model.size() + 2);
            P p = makePoint(rng);
            poly[i] = p; // out of range writes point 0
            model[i < model.size() ? i : 0] = p;
            break;
        }
        case 4: {
            unsigned n = rng() % 9;
            poly.ChangeSize(n);
            if (n)
                model.resize(n);
            break;
        }
        case 5: {
            unsigned i = rng() % (model.size() + 2);
            Poly const &c = poly;
            ASSERT_TRUE(c[i] == model[i < model.size() ? i : 0]);
            break;
        }
        default: {
            unsigned other = rng() % polys.size();
            ASSERT_EQ(polys[k] == polys[other], models[k] == models[other]);
            ASSERT_NE(polys[k] != polys[other], models[k] == models[other]);
            break;
        }
        }
        for (unsigned j = 0; j < polys.size(); ++j)
            ASSERT_TRUE(Holds(polys[j], models[j])) << "handle " << j << " after step " << step;
    }
}

} // namespace

TEST(PointLists, CopiesNeverSeeEachOthersChangesAndReleaseEverything)
{
    auto const before = kstest::CurrentHeapUsage();
    ReplayAgainstModels<CPolygon, Point>(1, [](std::mt19937 &rng) { return Point(int(rng() % 5), int(rng() % 5)); });
    ReplayAgainstModels<FPolygon, FPoint>(2, [](std::mt19937 &rng) { return FPoint((rng() % 5) * 0.5, (rng() % 5) * 0.25); });
    {
        CPolygon3D s(5), t(s);
    }
    EXPECT_EQ(kstest::CurrentHeapUsage().blocks, before.blocks);
}

TEST(CPolygon, APolygonWithoutPointsAnswersEveryIndexSafely)
{
    CPolygon e(0u);
    EXPECT_EQ(e.GetPoint(5), Point());
    e[3] = Point(1, 1); // nowhere to go, and nothing to crash
    e.ChangePoint(Point(2, 2), 0);
    EXPECT_EQ(e, CPolygon(0u));

    // An absurd count gives a polygon without points, not a hang.
    CPolygon huge(0xFFFFFFF0u);
    EXPECT_EQ(huge.Count(), 0u);
    CPolygon p(2);
    p.ChangeSize(0xFFFFFFF0u);
    EXPECT_EQ(p.Count(), 2u);
}

TEST(CPolyPolygon, ListsAreCopiedOnWriteAndElementsStayIndependent)
{
    auto const before = kstest::CurrentHeapUsage();
    {
        CPolygon a(CRectangle(0, 0, 1, 1)), b(CRectangle(5, 5, 6, 6)), c(3);
        CPolyPolygon pp;
        pp.Insert(a, 0);
        pp.Insert(b, 99); // appends
        pp.Insert(c, 0);
        ASSERT_EQ(pp.Count(), 3u);
        EXPECT_EQ(pp.GetObjectA(0), c);
        EXPECT_EQ(pp.GetObjectA(2), b);

        CPolyPolygon copy(pp);
        EXPECT_TRUE(copy == pp);
        copy.Insert(a, 1);
        EXPECT_EQ(pp.Count(), 3u);
        EXPECT_FALSE(copy == pp); // different bodies compare handles, not points

        EXPECT_EQ(copy.Replace(b, 0), c);
        EXPECT_EQ(pp.GetObjectA(0), c);
        EXPECT_EQ(copy.GetObjectA(0), b);
        EXPECT_EQ(copy.Remove(3), b);
        EXPECT_EQ(copy.Remove(3).Count(), 0u); // out of range: an empty polygon, nothing removed
        EXPECT_EQ(copy.Replace(a, 7).Count(), 0u);
        EXPECT_EQ(copy.Count(), 3u);

        // Writing through an element handed out changes neither list.
        CPolygon el = pp.GetObjectA(1);
        el.ChangePoint(Point(42, 42), 0);
        EXPECT_EQ(pp.GetObjectA(1), a);

        CPolyPolygon third(pp), empty1, empty2;
        third.Clear();
        EXPECT_EQ(pp.Count(), 3u);
        EXPECT_TRUE(third == empty1);
        EXPECT_TRUE(empty1 == empty2);
    }
    EXPECT_EQ(kstest::CurrentHeapUsage().blocks, before.blocks);
}
