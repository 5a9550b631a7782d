// The effects, judged by their pixels. Headless, Direct2D render targets
// fail and every effect runs on our own pixel code; the X11 run of the same
// checks (OutputDeviceD2DTest) takes the platform's effects where it has them.
#include "graphics/OutputDevice.h"
#include "tests/support/DeviceFixture.h"

using EffectsTest = kstest::DeviceFixture;

TEST_F(EffectsTest, WithoutHDCNoEffectIsDrawn)
{
    OutputDevice none(static_cast<HDC>(nullptr));
    ColorPair pair(Color(0ul), Color(0xFFFFFFul));
    EXPECT_FALSE(none.DrawGradient(pair));
    EXPECT_FALSE(none.DrawShadow(Point(1, 1), Size(5, 5)));
    EXPECT_FALSE(none.DrawShadowOnBackground(Point(1, 1), Size(5, 5), Color(0ul)));
    EXPECT_FALSE(none.BlurShadowEffect(CRectangle(0, 0, 5, 5), Color(0ul), 2, 1.0, TransparentColor()));
    EXPECT_FALSE(none.InsetShadow(CRectangle(0, 0, 5, 5), 2, 1.0, TransparentColor()));
    EXPECT_FALSE(none.InsetEffect(CRectangle(0, 0, 5, 5), Color(0ul), 2, 1.0, TransparentColor()));
}

TEST_F(EffectsTest, GradientRunsFromTopToBottomOverTheWholeArea)
{
    ColorPair pair(Color(0x0000FFul), Color(0xFF0000ul)); // red to blue
    ASSERT_TRUE(dev->DrawGradient(pair));
    EXPECT_GE(GetRValue(At(10, 0)), 245);
    EXPECT_GE(GetBValue(At(10, 47)), 245);
    EXPECT_NEAR(128, GetRValue(At(40, 24)), 12);
    EXPECT_NEAR(128, GetBValue(At(40, 24)), 12);
    for (int y = 1; y < H; ++y)
        EXPECT_LE(GetRValue(At(0, y)), GetRValue(At(0, y - 1))) << "row " << y;
    EXPECT_EQ(At(0, 30), At(63, 30)) << "rows are uniform";
}

TEST_F(EffectsTest, BlurSoftensAnEdgeOnlyInsideItsRectangle)
{
    dev->Erase(Color(0ul), CRectangle(0, 0, 31, 47));
    ASSERT_TRUE(dev->BlurEffect(CRectangle(0, 0, 63, 23), 2.0));
    EXPECT_EQ(0, Grey(15, 10)) << "far from the edge nothing changes";
    EXPECT_EQ(0, Grey(0, 0)) << "edge pixels repeat beyond the rectangle";
    EXPECT_GT(Grey(31, 10), 40);
    EXPECT_NEAR(255, Grey(31, 10) + Grey(32, 10), 6) << "symmetric about the edge";
    for (int x = 25; x < 40; ++x)
        EXPECT_LE(Grey(x - 1, 10), Grey(x, 10)) << "x " << x;
    EXPECT_EQ(0, Grey(31, 30)) << "below the rectangle the edge stays sharp";
    EXPECT_EQ(Grey(31, 3), Grey(31, 20)) << "the same blur on every row";

    EXPECT_TRUE(dev->BlurEffect(CRectangle(0, 30, 63, 40), 0.0));
    EXPECT_EQ(0, Grey(31, 35));
    EXPECT_FALSE(dev->BlurEffect(CRectangle(), 2.0));
    EXPECT_FALSE(dev->BlurEffect(CRectangle(0, 0, 5, 5), -1.0));
    // An enormous deviation is bounded and still blurs.
    ASSERT_TRUE(dev->BlurEffect(CRectangle(0, 30, 63, 40), 1e9));
    EXPECT_GT(Grey(0, 35), 20);
    EXPECT_LT(Grey(63, 35), 235);
    EXPECT_LT(Grey(0, 35), Grey(63, 35));
}

TEST_F(EffectsTest, ShadowFallsRightAndBelowAndLeavesTheRectangleAlone)
{
    CRectangle r(10, 10, 29, 29);
    dev->Erase(Color(BLUE), r);
    ASSERT_TRUE(dev->ShadowEffect(r, 4, 1.5, Color(0ul)));
    EXPECT_EQ(BLUE, At(29, 29)) << "the rectangle covers its own shadow";
    EXPECT_LT(Grey(31, 31), 100) << "shadow beyond the bottom-right corner";
    EXPECT_EQ(255, Grey(4, 20)) << "nothing to the left";
    EXPECT_EQ(255, Grey(20, 4)) << "nothing above";
    EXPECT_LT(Grey(33, 20), Grey(36, 20)) << "soft towards its edge";

    EXPECT_FALSE(dev->ShadowEffect(CRectangle(), 4, 1.5, Color(0ul)));
    EXPECT_FALSE(dev->ShadowEffect(r, -1, 1.5, Color(0ul)));
}

TEST_F(EffectsTest, NoGdiObjectOrHeapLeftByTheEffects)
{
    ColorPair pair(Color(0x00FF00ul), Color(0x0000FFul));
    // With Direct2D the gradient's heap is the platform's business, weighed
    // against the platform's own calls in OutputDeviceD2DTest.
    bool const d2d = dev->GetRenderTarget() != nullptr;
    // A new Direct2D target's device sets up its memory (27 heap blocks under
    // Wine) on a thread of its own about 0.1 s later. A drawing waits for
    // it, so that it happens before the loop, not in whichever batch.
    if (d2d)
        dev->DrawGradient(pair);
    auto cycle = [&] {
        if (!d2d) {
            dev->DrawGradient(pair);
            dev->DrawShadow(Point(3, 3), Size(20, 10));
        }
        dev->BlurEffect(CRectangle(2, 2, 40, 30), 1.5);
        dev->ShadowEffect(CRectangle(5, 5, 20, 20), 3, 1.0, Color(0ul));
        dev->DrawShadowOnBackground(Point(3, 3), Size(20, 10), Color(0x808080ul));
        dev->DrawBlurShadow(Point(30, 5), Size(20, 20), 2, TransparentColor(Color(0x320000ul), 23));
        dev->BlurShadowEffect(CRectangle(0, 0, 40, 30), Color(0xFFFFFFul), 2, 1.0, TransparentColor(Color(0ul), 50));
        dev->InsetShadow(CRectangle(8, 8, 50, 40), 3, 1.0, TransparentColor(Color(0ul), 50));
        dev->InsetEffect(CRectangle(0, 0, 63, 47), Color(0xFFFFFFul), 3, 1.0, TransparentColor(Color(0ul), 50));
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 50}, cycle));
}

TEST_F(EffectsTest, DropShadowFadesOutwardsOverWhatIsThere)
{
    dev->Erase(Color(BLUE), CRectangle(10, 10, 29, 24));
    dev->Erase(Color(GREEN), CRectangle(0, 26, 15, 26)); // a green line the shadow crosses
    std::vector<COLORREF> const before = Shot();
    ASSERT_TRUE(dev->DrawShadow(Point(10, 10), Size(20, 15)));
    EXPECT_EQ(CRectangle(14, 14, 33, 28), Changed(before)) << "four pixels wide, from four below the top";
    for (int i = 0; i < 4; ++i) {
        EXPECT_LT(Grey(29 + i, 20), Grey(30 + i, 20)) << "right, step " << i;
        EXPECT_LT(Grey(20, 24 + i), Grey(20, 25 + i)) << "below, step " << i;
    }
    EXPECT_EQ(Grey(30, 20), Grey(20, 25)) << "the same steps on both sides";
    EXPECT_LT(GetGValue(At(14, 26)), 255);
    EXPECT_GT(GetGValue(At(14, 26)), 100) << "the line darkened, not covered";
    EXPECT_EQ(0, Grey(14, 26));

    EXPECT_FALSE(dev->DrawShadow(Point(1, 1), Size(0, 5)));
    EXPECT_FALSE(dev->DrawShadow(Point(200, 1), Size(5, 5))) << "nothing of it on the device";
}

TEST_F(EffectsTest, ShadowOnBackgroundIsTheSameWhateverWasUnderIt)
{
    ASSERT_TRUE(dev->DrawShadow(Point(10, 10), Size(20, 15)));
    std::vector<COLORREF> const soft = Shot();
    Clear();
    ASSERT_TRUE(dev->DrawShadowOnBackground(Point(10, 10), Size(20, 15), Color(0xFFFFFFul)));
    std::vector<COLORREF> const plain = Shot();
    for (size_t i = 0; i < plain.size(); ++i) {
        EXPECT_EQ(plain[i] == WHITE, soft[i] == WHITE) << "pixel " << i;
        EXPECT_NEAR(GetRValue(soft[i]), GetRValue(plain[i]), 2) << "pixel " << i;
    }
    // Over stripes of other colours the shadow's pixels stay the same.
    for (int x = 0; x < W; x += 2)
        dev->Erase(Color(RGB(x * 4, 0, 128)), CRectangle(x, 0, x, H - 1));
    std::vector<COLORREF> const stripes = Shot();
    ASSERT_TRUE(dev->DrawShadowOnBackground(Point(10, 10), Size(20, 15), Color(0xFFFFFFul)));
    for (size_t i = 0; i < plain.size(); ++i)
        EXPECT_EQ(plain[i] != WHITE ? plain[i] : stripes[i], At(int(i) % W, int(i) / W)) << "pixel " << i;
}

TEST_F(EffectsTest, BlurredShadowsFallBeneathTheShapesOnly)
{
    CRectangle const r(10, 10, 29, 24);
    dev->Erase(Color(BLUE), r);
    std::vector<COLORREF> const before = Shot();
    ASSERT_TRUE(dev->DrawBlurShadow(Point(10, 10), Size(20, 15), 2, TransparentColor(Color(0x320000ul), 0)));
    EXPECT_EQ(CRectangle(), Changed(before)) << "opacity 0";
    // The window frame's shadow: depth 2, a dark blue at 23 %.
    ASSERT_TRUE(dev->DrawBlurShadow(Point(10, 10), Size(20, 15), 2, TransparentColor(Color(0x320000ul), 23)));
    CRectangle const changed = Changed(before);
    EXPECT_TRUE(CRectangle(9, 9, 34, 29).IsInside(changed)) << changed.GetStr().GetStr();
    auto inside = [&](int x, int y, COLORREF c) { return r.IsInside(Point(x, y)) && c != before[size_t(y * W + x)]; };
    EXPECT_TRUE(Where(inside).IsEmpty()) << "the rectangle stays";
    EXPECT_LT(Grey(30, 20), Grey(33, 20));
    EXPECT_GE(Grey(30, 20), 190) << "at most 23 % dark";
    EXPECT_GT(GetBValue(At(30, 20)), Grey(30, 20)) << "in its colour";
    EXPECT_FALSE(dev->DrawBlurShadow(Point(10, 10), Size(20, 15), -1, TransparentColor(Color(0ul), 50)));

    // Shapes on a key colour: two squares in a rectangle of white.
    Clear();
    dev->Erase(Color(BLUE), CRectangle(10, 10, 15, 15));
    dev->Erase(Color(GREEN), CRectangle(30, 20, 32, 22));
    std::vector<COLORREF> const shapes = Shot();
    ASSERT_TRUE(dev->BlurShadowEffect(CRectangle(5, 5, 40, 30), Color(0xFFFFFFul), 3, 1.0,
                                      TransparentColor(Color(0ul), 100)));
    int n = 0;
    Changed(shapes, &n);
    EXPECT_GT(n, 40);
    CRectangle const astray = Where([&](int x, int y, COLORREF c) {
        bool const nearFirst = x >= 10 && x <= 21 && y >= 10 && y <= 21 && (x > 15 || y > 15);
        bool const nearSecond = x >= 30 && x <= 38 && y >= 20 && y <= 28 && (x > 32 || y > 22);
        return !nearFirst && !nearSecond && c != shapes[size_t(y * W + x)];
    });
    EXPECT_TRUE(astray.IsEmpty()) << "changed outside the squares' shadows: " << astray.GetStr().GetStr();
    EXPECT_LT(Grey(16, 16), 64) << "dark under the moved square";
}

TEST_F(EffectsTest, InnerShadowsStayInsideAlongTheTopAndLeftEdges)
{
    Clear(RGB(0x80, 0x80, 0x80));
    std::vector<COLORREF> const before = Shot();
    // A blur reach of 3 under a depth of 4: the right and bottom edges get
    // none of it.
    CRectangle const r(10, 10, 40, 30);
    ASSERT_TRUE(dev->InsetShadow(r, 4, 1.0, TransparentColor(Color(0ul), 80)));
    EXPECT_EQ(Point(10, 10), Changed(before).TopLeft());
    CRectangle const astray = Where([&](int x, int y, COLORREF c) {
        return c != before[size_t(y * W + x)] && !(r.IsInside(Point(x, y)) && (x < 17 || y < 17));
    });
    EXPECT_TRUE(astray.IsEmpty()) << "changed outside or in the bottom-right interior: " << astray.GetStr().GetStr();
    EXPECT_LT(Grey(10, 20), Grey(13, 20));
    EXPECT_LT(Grey(13, 20), Grey(16, 20));
    EXPECT_LT(Grey(25, 11), 0x80);

    // Shapes on a key colour: each one pressed in on its own.
    Clear();
    dev->Erase(Color(GREEN), CRectangle(10, 10, 25, 25));
    std::vector<COLORREF> const shapes = Shot();
    ASSERT_TRUE(dev->InsetEffect(CRectangle(0, 0, 63, 47), Color(0xFFFFFFul), 3, 1.0,
                                 TransparentColor(Color(0ul), 100)));
    EXPECT_TRUE(CRectangle(10, 10, 25, 25).IsInside(Changed(shapes))) << "only the shape darkens";
    EXPECT_LT(GetGValue(At(10, 18)), GetGValue(At(20, 18)));
    EXPECT_EQ(GREEN, At(24, 24));
}
