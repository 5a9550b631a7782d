// Point, Size, CRectangle and FRectangle: rounding rules, the inclusive
// right/bottom with its sentinel, and arithmetic at the limits of int,
// checked against 64-bit models and against the platform's RECT functions.
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
bool Representable(long long v) { return v > INT_MIN && v <= INT_MAX; }

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

// ------------------------------------------------------------------ Point

TEST(Point, ArithmeticRoundsHalvesAwayFromZeroAndSaturates)
{
    Point p(3, -3);
    p *= 0.5;
    EXPECT_EQ(p, Point(2, -2));
    p = Point(5, -5);
    p /= 2.0;
    EXPECT_EQ(p, Point(3, -3));
    p = Point(7, -7);
    p /= 2; // integer division truncates
    EXPECT_EQ(p, Point(3, -3));
    p /= 0;
    p /= 0.0;
    EXPECT_EQ(p, Point(3, -3));

    Point big(INT_MAX, INT_MIN);
    big += Point(1, -1);
    EXPECT_EQ(big, Point(INT_MAX, INT_MIN));
    Point wide(1, -1);
    wide *= 1e12;
    EXPECT_EQ(wide, Point(INT_MAX, INT_MIN));
    Point least(INT_MIN, 4);
    least /= -1;
    EXPECT_EQ(least, Point(INT_MAX, -4));
}

TEST(Point, AboveComparesTheNumbersAndDistanceIsExactFarOut)
{
    EXPECT_TRUE(Point(1, 5).IsAbove(Point(4, 2))); // the larger Y is "above"
    EXPECT_TRUE(Point(4, 2).IsBelow(Point(1, 5)));
    EXPECT_DOUBLE_EQ(Point(3, 4).GetSqDistance(Point(0, 0)), 5.0);
    // Far beyond where 32-bit squares overflow.
    EXPECT_DOUBLE_EQ(Point(0, 0).GetSqDistance(Point(300000, -400000)), 500000.0);
    EXPECT_DOUBLE_EQ(Point(INT_MIN, 0).GetSqDistance(Point(INT_MAX, 0)), 4294967295.0);
}

// ------------------------------------------------------------------ Size

TEST(Size, OrderingIsDecidedByTheSideThatDiffersOrByBoth)
{
    EXPECT_TRUE(Size(3, 5) < Size(3, 6));
    EXPECT_FALSE(Size(3, 6) < Size(3, 5));
    EXPECT_TRUE(Size(2, 7) < Size(3, 7));
    EXPECT_FALSE(Size(2, 9) < Size(3, 6));
    EXPECT_TRUE(Size(2, 5) < Size(3, 6));
    EXPECT_FALSE(Size(3, 6) < Size(3, 6));
}

TEST(Size, ScalingRoundsCentresAndPrints)
{
    EXPECT_EQ(Size(3, 3) * 0.5, Size(2, 2));
    EXPECT_EQ(Size(-3, 5) * 0.5, Size(-2, 3));
    EXPECT_EQ(Size(5, 7) / 2.0, Size(3, 4));
    EXPECT_EQ(Size(7, -7) / 2, Size(3, -3));
    EXPECT_EQ(Size(5, 7) / 0, Size(5, 7));
    EXPECT_EQ(Size(5, 7) / 0.0, Size(5, 7));
    EXPECT_EQ(Size(5, 7) * 1e10, Size(INT_MAX, INT_MAX));
    EXPECT_DOUBLE_EQ(Size(100000, 100000).GetArea(), 1e10);

    EXPECT_EQ(Size(10, 10).CenterWithin(Size(21, 15)), Point(5, 2));
    EXPECT_EQ(Size(21, 10).CenterWithin(Size(10, 10)), Point(-5, 0));
    EXPECT_EQ(Size(INT_MIN, INT_MAX).CenterWithin(Size(INT_MAX, INT_MIN)), Point(INT_MAX, -INT_MAX));

    Size a(4, 3);
    EXPECT_EQ(a.ScaleToHeight(6), Size(8, 6));
    EXPECT_EQ(a, Size(8, 6));
    EXPECT_EQ(Size(1, 2).ScaleToHeight(1), Size(1, 1)); // 0.5 rounds away from zero
    EXPECT_EQ(Size(-1, 2).ScaleToHeight(1), Size(-1, 1));
    EXPECT_EQ(Size(5, 0).ScaleToHeight(9), Size(5, 0));

    EXPECT_STREQ(Size(3, -4).GetStr().GetStr(), "WID=3, HGT=-4");
}

// ------------------------------------------------------------------ CRectangle

TEST(CRectangle, PositionAndSizeGiveInclusiveEdges)
{
    CRectangle r(Point(5, 5), Size(10, 3));
    EXPECT_TRUE(SameRect(r, 5, 5, 14, 7));
    EXPECT_EQ(r.GetSize(), Size(10, 3));
    EXPECT_STREQ(r.GetStr().GetStr(), "l=5, r=14, t=5, b=7, WID=9, HGT=2");

    CRectangle e(Point(5, 5), Size(0, 3));
    EXPECT_EQ(e.Right(), RECT_EMPTY);
    EXPECT_TRUE(e.IsEmpty());
    EXPECT_EQ(e.GetSize(), Size(0, 3));

    CRectangle n(Point(10, 0), Size(-3, 1));
    EXPECT_TRUE(SameRect(n, 10, 0, 8, 0));
    EXPECT_EQ(n.GetWidth(), -3);
    // A width of -1 has nowhere to go but onto Left, so it reads back as 1.
    EXPECT_EQ(CRectangle(Point(4, 0), Size(-1, 1)).Right(), 4);
    EXPECT_TRUE(SameRect(CRectangle(), 0, 0, RECT_EMPTY, RECT_EMPTY));
}

TEST(CRectangle, WidthRoundTripsThroughEveryWayOfSettingIt)
{
    std::mt19937 rng(7);
    for (int i = 0; i < 20000; ++i) {
        int left = int(rng() % 2001) - 1000, top = int(rng() % 2001) - 1000;
        int w = int(rng() % 2001) - 1000, h = int(rng() % 2001) - 1000;
        // A width of -1 puts Right on Left, which reads back as 1.
        if (w == -1 || h == -1)
            continue;
        CRectangle a(Point(left, top), Size(w, h));
        ASSERT_EQ(a.GetSize(), Size(w, h)) << w << "x" << h;
        ASSERT_EQ(a.IsEmpty(), w == 0 || h == 0);

        CRectangle b(left, top, left + 5, top + 5);
        b.SetWidth(w);
        ASSERT_EQ(b.GetWidth(), w);
        ASSERT_EQ(b.GetHeight(), 6); // the other extent is left alone
        Size old = b.ChangeSize(Size(h, w));
        ASSERT_EQ(old, Size(w, 6));
        ASSERT_EQ(b.GetSize(), Size(h, w));
        ASSERT_EQ(b.TopLeft(), Point(left, top));
    }
    CRectangle c(0, 0, 9, 9);
    c.SetWidth(5);
    EXPECT_TRUE(SameRect(c, 0, 0, 4, 9));
    c.SetWidth(0);
    EXPECT_TRUE(SameRect(c, 0, 0, RECT_EMPTY, 9));
    EXPECT_TRUE(c.IsEmpty());
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
        long long ml = (long long)l + dx, mt = (long long)t + dy;
        long long mr = r == RECT_EMPTY ? INT_MIN : (long long)r + dx;
        long long mb = b == RECT_EMPTY ? INT_MIN : (long long)b + dy;
        if (Representable(mr) && Representable(mb) && ml >= INT_MIN && ml <= INT_MAX && mt >= INT_MIN && mt <= INT_MAX)
            ASSERT_TRUE(SameRect(moved, ml, mt, mr, mb));
        else
            ASSERT_TRUE(moved.IsEmpty()) << CRectangle(l, t, r, b).GetStr().GetStr() << " moved by " << dx << ", "
                                         << dy << " gave " << moved.GetStr().GetStr();

        CRectangle grown(l, t, r, b);
        grown.Inflate(dx, dy);
        long long gl = (long long)l - dx / 2, gt = (long long)t - dy / 2;
        long long gr = r == RECT_EMPTY ? INT_MIN : (long long)r + dx / 2;
        long long gb = b == RECT_EMPTY ? INT_MIN : (long long)b + dy / 2;
        if (Representable(gr) && Representable(gb) && gl >= INT_MIN && gl <= INT_MAX && gt >= INT_MIN && gt <= INT_MAX)
            ASSERT_TRUE(SameRect(grown, gl, gt, gr, gb));
        else
            ASSERT_TRUE(grown.IsEmpty());

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

TEST(CRectangle, InflateScaleAndJustify)
{
    CRectangle r(0, 0, 9, 9);
    r.Inflate(3, 4); // odd amounts grow by one less
    EXPECT_TRUE(SameRect(r, -1, -2, 10, 11));
    r.Inflate(-2, -4);
    EXPECT_TRUE(SameRect(r, 0, 0, 9, 9));

    CRectangle s(1, 2, 3, 4);
    s.Scale(2.5, -1.5); // trunc(c * f + 0.5), not floor
    EXPECT_TRUE(SameRect(s, 3, -2, 8, -5));
    CRectangle big(1, 1, 2, 2);
    big.Scale(3e9, 1.0);
    EXPECT_TRUE(big.IsEmpty());

    CRectangle n(10, 10, 0, 0);
    EXPECT_EQ(n.GetWidth(), -11);
    EXPECT_TRUE(n.IsInside(Point(5, 5)));
    n.Justify();
    EXPECT_TRUE(SameRect(n, 0, 0, 10, 10));

    CRectangle e(10, 10, RECT_EMPTY, 5);
    e.Justify();
    EXPECT_TRUE(SameRect(e, 10, 5, RECT_EMPTY, 10));
}

TEST(CRectangle, CornersAndCentresSubstituteEmptyEdges)
{
    CRectangle n(9, 5, 0, 0); // drawn right to left, bottom to top
    EXPECT_EQ(n.Center(), Point(5, 3));
    EXPECT_EQ(n.LeftCenter(), Point(0, 3));
    EXPECT_EQ(n.RightCenter(), Point(9, 3));
    EXPECT_EQ(n.TopCenter(), Point(4, 0));
    EXPECT_EQ(n.BottomCenter(), Point(4, 5));

    CRectangle e(3, 4, RECT_EMPTY, 8);
    EXPECT_EQ(e.TopRight(), Point(3, 4));
    EXPECT_EQ(e.BottomRight(), Point(3, 8));
    EXPECT_EQ(e.Center(), Point(3, 4));
    EXPECT_EQ(e.BottomCenter(), Point(3, 4));

    CRectangle all(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(all.Center(), Point(-1, -1));
    EXPECT_EQ(all.TopCenter(), Point(-1, INT_MIN));
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

TEST(CRectangle, ConversionsToAndFromThePlatformKeepTheNumbers)
{
    EXPECT_TRUE(SameRect(CRectangle(CRect(1, -2, 30, 40)), 1, -2, 30, 40));
    CRect back = CRectangle(-5, 6, RECT_EMPTY, 8);
    EXPECT_EQ(back, CRect(-5, 6, INT_MIN, 8));
    RECT rc{4, 3, 2, 1};
    EXPECT_TRUE(SameRect(CRectangle(rc), 4, 3, 2, 1));
    POINT pt{-1, 2};
    EXPECT_EQ(Point(pt), Point(-1, 2));
    SIZE sz{5, -6};
    EXPECT_EQ(Size(sz), Size(5, -6));
    Gdiplus::Point gp = Point(12, -13);
    EXPECT_EQ(gp.X, 12);
    EXPECT_EQ(gp.Y, -13);
}

// ------------------------------------------------------------------ CRect

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

// ------------------------------------------------------------------ FRectangle

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

    Gdiplus::RectF rf = FRectangle(1.5, 2.0, 4.0, 7.5).GetRectF();
    EXPECT_FLOAT_EQ(rf.X, 1.5f);
    EXPECT_FLOAT_EQ(rf.Y, 2.0f);
    EXPECT_FLOAT_EQ(rf.Width, 2.5f);
    EXPECT_FLOAT_EQ(rf.Height, 5.5f);
    Gdiplus::RectF re = FRectangle(FPoint(1.0, 1.0), FSize(0.0, 3.0)).GetRectF();
    EXPECT_FLOAT_EQ(re.Width, 0.0f);
    EXPECT_FLOAT_EQ(re.Height, 3.0f);
}

TEST(FRectangle, MovesScalesAndKeepsItsSentinel)
{
    FRectangle r(FPoint(1.0, 2.0), FSize(3.0, 0.0));
    EXPECT_TRUE(r.IsEmpty());
    EXPECT_EQ(r.BottomRight(), FPoint(4.0, 2.0));
    FRectangle s = r * 2.0;
    s += FPoint(1.0, 1.0);
    s.Inflate(2.0, 2.0);
    EXPECT_EQ(s, FRectangle(2.0, 4.0, 10.0, FRECT_EMPTY));

    FRectangle m(3.7, -2.3, 10.25, 5.5);
    m.MoveToFloor();
    EXPECT_NEAR(m.Left(), 0.7, 1e-12);
    EXPECT_NEAR(m.Top(), -0.3, 1e-12); // trunc(-2.29) is -2
    EXPECT_NEAR(m.Right(), 7.25, 1e-12);
    EXPECT_NEAR(m.Bottom(), 7.5, 1e-12);

    EXPECT_STREQ(FRectangle(1.0, 2.0, 3.5, 4.25).GetStr().GetStr(), "(1.00, 2.00)/(3.50, 4.25)");
}
