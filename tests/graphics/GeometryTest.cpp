// Geometry: rounding, the inclusive right/bottom with its sentinel, and arithmetic at the
// limits of int, checked against 64-bit models and the platform's RECT functions.
#include <windows.h>
#include <gdiplus.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "graphics/CRectangle.h"
#include "graphics/FRectangle.h"
#include "graphics/Point.h"
#include "graphics/Size.h"

namespace {

::testing::AssertionResult SameRect(CRectangle const &r, long long l, long long t, long long rr, long long b)
{
    if (r.Left() == l && r.Top() == t && r.Right() == rr && r.Bottom() == b)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << r.GetStr().GetStr() << " expected (" << l << ", " << t << ", " << rr
                                         << ", " << b << ")";
}

// Inclusive right of an extent of w pixels from start, in 64 bits.
long long FarEdge64(long long start, long long w) { return w > 0 ? start + w - 1 : start + w + 1; }
bool Representable(long long v) { return v > INT_MIN && v <= INT_MAX; } // INT_MIN is the empty sentinel

// The 64-bit model's rectangle when every edge fits, an empty one otherwise.
::testing::AssertionResult ModelOrEmpty(CRectangle const &r, long long l, long long t, long long rr, long long b)
{
    bool const fits = Representable(rr) && Representable(b) && l >= INT_MIN && l <= INT_MAX && t >= INT_MIN && t <= INT_MAX;
    if (fits)
        return SameRect(r, l, t, rr, b);
    if (r.IsEmpty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << r.GetStr().GetStr() << " should be empty";
}

int RandomCoord(std::mt19937 &rng)
{
    // Mostly small numbers, often the extremes, sometimes anything.
    switch (rng() % 4) {
    case 0: return int(rng() % 41) - 20;
    case 1: return INT_MAX - int(rng() % 8);
    case 2: return INT_MIN + int(rng() % 8);
    default: return int(rng());
    }
}

} // namespace

TEST(Point, ArithmeticRoundsHalvesAwayFromZeroAndSaturates)
{
    EXPECT_EQ(Point(3, -3) *= 0.5, Point(2, -2));
    EXPECT_EQ(Point(5, -5) /= 2.0, Point(3, -3));
    EXPECT_EQ(Point(7, -7) /= 2, Point(3, -3)) << "integer division truncates";
    EXPECT_EQ(Point(3, -3) /= 0, Point(3, -3));
    EXPECT_EQ(Point(3, -3) /= 0.0, Point(3, -3));
    EXPECT_EQ(Point(INT_MAX, INT_MIN) += Point(1, -1), Point(INT_MAX, INT_MIN));
    EXPECT_EQ(Point(1, -1) *= 1e12, Point(INT_MAX, INT_MIN));
    EXPECT_EQ(Point(INT_MIN, 4) /= -1, Point(INT_MAX, -4));
}

TEST(CRectangle, ExtentsAtTheLimitsOfIntBecomeEmptyRatherThanWrap)
{
    std::mt19937 rng(11);
    for (int i = 0; i < 50000; ++i) {
        int left = RandomCoord(rng), w = RandomCoord(rng);
        CRectangle r(Point(left, 0), Size(w, 1));
        long long want = w ? FarEdge64(left, w) : INT_MIN;
        if (w && Representable(want)) {
            ASSERT_EQ(r.Right(), want);
            ASSERT_FALSE(r.IsEmpty());
        } else {
            ASSERT_TRUE(r.IsEmpty()) << left << " + " << w << " gave " << r.GetStr().GetStr();
        }
        CRectangle s(left, 0, 0, 0);
        s.SetWidth(w);
        ASSERT_EQ(s.Right(), r.Right());
    }
    // A width too large for int saturates instead of turning negative.
    EXPECT_EQ(CRectangle(INT_MIN, 0, INT_MAX, 0).GetWidth(), INT_MAX);
    EXPECT_EQ(CRectangle(INT_MAX, 0, INT_MIN + 1, 0).GetWidth(), -INT_MAX);
    EXPECT_EQ(CRectangle(0, 0, INT_MAX, 0).GetWidth(), INT_MAX);
}

TEST(CRectangle, MovingAndInflatingAtTheLimitsNeverGiveAWrongRectangle)
{
    std::mt19937 rng(13);
    for (int i = 0; i < 50000; ++i) {
        int l = RandomCoord(rng), t = RandomCoord(rng), r = RandomCoord(rng), b = RandomCoord(rng);
        int dx = RandomCoord(rng), dy = RandomCoord(rng);
        CRectangle moved(l, t, r, b);
        moved.Move(dx, dy);
        auto edge = [](int e, long long d) { return e == RECT_EMPTY ? (long long)INT_MIN : e + d; };
        ASSERT_TRUE(ModelOrEmpty(moved, (long long)l + dx, (long long)t + dy, edge(r, dx), edge(b, dy)))
            << CRectangle(l, t, r, b).GetStr().GetStr() << " moved by " << dx << ", " << dy;
        CRectangle grown(l, t, r, b);
        grown.Inflate(dx, dy);
        ASSERT_TRUE(ModelOrEmpty(grown, (long long)l - dx / 2, (long long)t - dy / 2, edge(r, dx / 2), edge(b, dy / 2)));

        CRectangle placed(l, t, r, b);
        Point old = placed.ChangePos(Point(dx, dy));
        ASSERT_EQ(old, Point(l, t));
        ASSERT_EQ(placed.TopLeft(), Point(dx, dy));
        long long pr = r == RECT_EMPTY ? INT_MIN : (long long)r - l + dx;
        if (Representable(pr))
            ASSERT_EQ(placed.Right(), pr);
        else
            ASSERT_TRUE(placed.IsEmpty());
    }
    // The sentinel is not an edge: an empty rectangle stays empty.
    CRectangle e;
    e.Move(5, 7);
    EXPECT_TRUE(SameRect(e, 5, 7, RECT_EMPTY, RECT_EMPTY));
    e.Inflate(10, 10);
    e.Scale(3.0, 3.0);
    EXPECT_TRUE(e.IsEmpty());
}

TEST(CRectangle, InsideTestsMatchAPixelByPixelModel)
{
    std::mt19937 rng(17);
    for (int i = 0; i < 3000; ++i) {
        CRectangle r(int(rng() % 13) - 6, int(rng() % 13) - 6, int(rng() % 13) - 6, int(rng() % 13) - 6);
        if (rng() % 8 == 0)
            r.Right() = RECT_EMPTY;
        Point p(int(rng() % 17) - 8, int(rng() % 17) - 8);
        bool want = !r.IsEmpty() && p.X() >= std::min(r.Left(), r.Right()) && p.X() <= std::max(r.Left(), r.Right()) &&
                    p.Y() >= std::min(r.Top(), r.Bottom()) && p.Y() <= std::max(r.Top(), r.Bottom());
        ASSERT_EQ(r.IsInside(p), want) << r.GetStr().GetStr() << " " << p.X() << "," << p.Y();

        Point q = p;
        EXPECT_FALSE(r.MakeInside(q));
        if (!r.IsEmpty() && r.Left() <= r.Right() && r.Top() <= r.Bottom()) {
            ASSERT_TRUE(r.IsInside(q));
            if (r.IsInside(p)) {
                ASSERT_EQ(q, p);
            }
        }
    }
    CRectangle outer(0, 0, 10, 10);
    EXPECT_TRUE(outer.IsInside(CRectangle(0, 0, 10, 10)));
    EXPECT_TRUE(outer.IsInside(CRectangle(10, 10, 0, 0)));
    EXPECT_FALSE(outer.IsInside(CRectangle(5, 5, 11, 6)));
    EXPECT_TRUE(outer.IsInside(CRectangle(5, 5, RECT_EMPTY, RECT_EMPTY)));
    EXPECT_FALSE(CRectangle().IsInside(CRectangle(0, 0, RECT_EMPTY, RECT_EMPTY)));
}

TEST(CRectangle, IntersectionAndUnionAgreeWithThePlatform)
{
    std::mt19937 rng(19);
    auto normal = [&rng] {
        int l = int(rng() % 40) - 20, t = int(rng() % 40) - 20;
        return CRectangle(l, t, l + int(rng() % 15), t + int(rng() % 15));
    };
    for (int i = 0; i < 20000; ++i) {
        CRectangle a = normal(), b = normal();
        // The platform's rectangles end one pixel later.
        RECT ra{a.Left(), a.Top(), a.Right() + 1, a.Bottom() + 1}, rb{b.Left(), b.Top(), b.Right() + 1, b.Bottom() + 1};
        RECT ri, ru;
        BOOL meet = IntersectRect(&ri, &ra, &rb);
        UnionRect(&ru, &ra, &rb);

        CRectangle i1 = a.GetIntersection(b);
        if (meet)
            ASSERT_TRUE(SameRect(i1, ri.left, ri.top, ri.right - 1, ri.bottom - 1));
        else
            ASSERT_TRUE(SameRect(i1, 0, 0, RECT_EMPTY, RECT_EMPTY));
        ASSERT_EQ(a.Overlaps(b), bool(meet));
        ASSERT_TRUE(SameRect(a.GetUnion(b), ru.left, ru.top, ru.right - 1, ru.bottom - 1));

        // Drawn the other way round, the rectangles cover the same pixels.
        CRectangle fa(a.Right(), a.Bottom(), a.Left(), a.Top()), fb(b.Right(), b.Top(), b.Left(), b.Bottom());
        ASSERT_EQ(fa.GetIntersection(fb), i1);
        CRectangle u = fa.GetUnion(fb);
        ASSERT_LE(u.Left(), u.Right());
        ASSERT_LE(u.Top(), u.Bottom());
    }
    CRectangle e;
    CRectangle r(1, 2, 3, 4);
    EXPECT_EQ(r.GetUnion(e), r);
    EXPECT_EQ(e.GetUnion(r), r);
    EXPECT_TRUE(SameRect(r.GetIntersection(e), 0, 0, RECT_EMPTY, RECT_EMPTY));
    CRectangle keep(5, 6, RECT_EMPTY, 7); // an empty rectangle is kept as it is
    EXPECT_TRUE(SameRect(keep.Intersection(r), 5, 6, RECT_EMPTY, 7));
}

TEST(CRect, SetOperationsAnswerLikeThePlatform)
{
    std::mt19937 rng(23);
    for (int i = 0; i < 20000; ++i) {
        RECT a{int(rng() % 21) - 10, int(rng() % 21) - 10, int(rng() % 21) - 10, int(rng() % 21) - 10};
        RECT b{int(rng() % 21) - 10, int(rng() % 21) - 10, int(rng() % 21) - 10, int(rng() % 21) - 10};
        RECT wi{9, 9, 9, 9}, wu{9, 9, 9, 9};
        BOOL meet = IntersectRect(&wi, &a, &b);
        BOOL any = UnionRect(&wu, &a, &b);
        CRect ci(7, 7, 7, 7), cu(7, 7, 7, 7);
        ASSERT_EQ(ci.IntersectRect(&a, &b), bool(meet));
        ASSERT_EQ(cu.UnionRect(&a, &b), bool(any));
        ASSERT_TRUE(ci == wi);
        ASSERT_TRUE(cu == wu);
        ASSERT_EQ(CRect(a).IsRectEmpty(), bool(IsRectEmpty(&a)));
        POINT p{int(rng() % 21) - 10, int(rng() % 21) - 10};
        ASSERT_EQ(CRect(a).PtInRect(p), bool(PtInRect(&a, p)));
        CRect n(a);
        n.NormalizeRect();
        ASSERT_LE(n.left, n.right);
        ASSERT_LE(n.top, n.bottom);
        ASSERT_EQ(n.Width(), std::abs(a.right - a.left));
    }
    EXPECT_EQ(CRect(CPoint(1, 2), CSize(3, 4)), CRect(1, 2, 4, 6));
    EXPECT_EQ(CPoint(LPARAM(0xFFFE0003)), CPoint(3, -2));
}

TEST(FRectangle, ConversionsBetweenExclusiveAndInclusiveEdges)
{
    FRectangle f(CRectangle(0, 0, 9, 4));
    EXPECT_EQ(f, FRectangle(0.0, 0.0, 10.0, 5.0));
    EXPECT_DOUBLE_EQ(f.GetWidth(), 10.0);
    EXPECT_TRUE(FRectangle(CRectangle()).IsEmpty());
    EXPECT_TRUE(FRectangle(CRectangle(0, 0, 5, RECT_EMPTY)).IsEmpty());

    // trunc(c + 0.5), which differs from floor below zero.
    EXPECT_EQ(FRectangle(0.4, 0.5, -0.5, -0.6).GetRectangle(), CRectangle(0, 1, 0, 0));
    EXPECT_EQ(FRectangle(0.995, 1.5, 10.005, 10.0).GetBoundingRect(), CRectangle(1, 1, 9, 9));
    EXPECT_TRUE(FRectangle().GetRectangle().IsEmpty());
    EXPECT_TRUE(FRectangle().GetBoundingRect().IsEmpty());
    // Out of int's reach: empty, not some other rectangle.
    EXPECT_TRUE(FRectangle(0.0, 0.0, 1e12, 5.0).GetRectangle().IsEmpty());
    EXPECT_TRUE(FRectangle(-1e12, 0.0, 5.0, 5.0).GetBoundingRect().IsEmpty());
    EXPECT_TRUE(FRectangle(0.0, 0.0, 5.0, -2147483648.6).GetRectangle().IsEmpty());

    EXPECT_TRUE(FRectangle(1.5, 2.0, 4.0, 7.5).GetRectF().Equals(Gdiplus::RectF(1.5f, 2.0f, 2.5f, 5.5f)));
    EXPECT_TRUE(FRectangle(FPoint(1.0, 1.0), FSize(0.0, 3.0)).GetRectF().Equals(Gdiplus::RectF(1.0f, 1.0f, 0.0f, 3.0f)));
}
