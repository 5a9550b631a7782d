// The effects, judged by their pixels. Headless, Direct2D render targets
// fail and every effect runs on our own pixel code; the X11 run of the same
// checks (OutputDeviceD2DTest) takes the platform's effects where it has them.
#include "frame/KSGlobal.h"
#include "graphics/OutputDevice.h"
#include "graphics/VirtualDevice.h"
#include "tests/support/LeakCounters.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>
#include <windows.h>

class EffectsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        dev = new VirtualDevice();
        ASSERT_TRUE(dev->SetOutputSize(Size(64, 48), true));
    }
    void TearDown() override
    {
        delete dev;
        KSExit();
    }
    COLORREF At(int x, int y) { return ::GetPixel(dev->GethDC(), x, y); }
    int Grey(int x, int y) { return GetRValue(At(x, y)); }
    std::vector<COLORREF> Shot()
    {
        std::vector<COLORREF> v;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                v.push_back(At(x, y));
        return v;
    }
    // The pixels that differ from an earlier shot, as their bounds (EMPTY
    // when none) and count.
    CRectangle Changed(std::vector<COLORREF> const &rBefore, int *pCount = nullptr)
    {
        CRectangle r;
        int n = 0;
        for (int i = 0; i < 64 * 48; ++i)
            if (At(i % 64, i / 64) != rBefore[size_t(i)]) {
                r.Union(CRectangle(i % 64, i / 64, i % 64, i / 64));
                ++n;
            }
        if (pCount)
            *pCount = n;
        return r;
    }
    VirtualDevice *dev = nullptr;
};

TEST_F(EffectsTest, GradientRunsFromTopToBottomOverTheWholeArea)
{
    ColorPair pair(Color(0x0000FFul), Color(0xFF0000ul)); // red to blue
    ASSERT_TRUE(dev->DrawGradient(pair));
    COLORREF top = At(10, 0), bottom = At(10, 47), middle = At(40, 24);
    EXPECT_GE(GetRValue(top), 245);
    EXPECT_GE(GetBValue(bottom), 245);
    EXPECT_NEAR(128, GetRValue(middle), 12);
    EXPECT_NEAR(128, GetBValue(middle), 12);
    for (int y = 1; y < 48; ++y)
        EXPECT_LE(GetRValue(At(0, y)), GetRValue(At(0, y - 1))) << "row " << y;
    EXPECT_EQ(At(0, 30), At(63, 30)) << "rows are uniform";

    OutputDevice none(static_cast<HDC>(nullptr));
    EXPECT_FALSE(none.DrawGradient(pair));
}

TEST_F(EffectsTest, BlurSoftensAnEdgeOnlyInsideItsRectangle)
{
    dev->Erase(Color(0ul), CRectangle(0, 0, 31, 47));
    ASSERT_TRUE(dev->BlurEffect(CRectangle(0, 0, 63, 23), 2.0));
    EXPECT_EQ(0, Grey(15, 10)) << "far from the edge nothing changes";
    EXPECT_EQ(0, Grey(0, 0)) << "edge pixels repeat beyond the rectangle";
    int const a = Grey(31, 10), b = Grey(32, 10);
    EXPECT_GT(a, 40);
    EXPECT_LT(b, 215);
    EXPECT_NEAR(255, a + b, 6) << "symmetric about the edge";
    for (int x = 25; x < 40; ++x)
        EXPECT_LE(Grey(x - 1, 10), Grey(x, 10)) << "x " << x;
    EXPECT_EQ(0, Grey(31, 30)) << "below the rectangle the edge stays sharp";
    EXPECT_EQ(255, Grey(32, 30));
    EXPECT_EQ(Grey(31, 3), Grey(31, 20)) << "the same blur on every row";

    EXPECT_TRUE(dev->BlurEffect(CRectangle(0, 30, 63, 40), 0.0));
    EXPECT_EQ(0, Grey(31, 35));
    EXPECT_FALSE(dev->BlurEffect(CRectangle(), 2.0));
    // An enormous deviation is bounded and still blurs.
    ASSERT_TRUE(dev->BlurEffect(CRectangle(0, 30, 63, 40), 1e9));
    EXPECT_GT(Grey(0, 35), 20);
    EXPECT_LT(Grey(63, 35), 235);
    EXPECT_LT(Grey(0, 35), Grey(63, 35));
    EXPECT_FALSE(dev->BlurEffect(CRectangle(0, 0, 5, 5), -1.0));
}

TEST_F(EffectsTest, ShadowFallsRightAndBelowAndLeavesTheRectangleAlone)
{
    CRectangle r(10, 10, 29, 29);
    dev->Erase(Color(0xFF0000ul), r);
    ASSERT_TRUE(dev->ShadowEffect(r, 4, 1.5, Color(0ul)));
    EXPECT_EQ(RGB(0, 0, 255), At(15, 15));
    EXPECT_EQ(RGB(0, 0, 255), At(29, 29)) << "the rectangle covers its own shadow";
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
    auto cycle = [&] {
        if (!d2d)
            dev->DrawGradient(pair);
        dev->BlurEffect(CRectangle(2, 2, 40, 30), 1.5);
        dev->ShadowEffect(CRectangle(5, 5, 20, 20), 3, 1.0, Color(0ul));
        if (!d2d)
            dev->DrawShadow(Point(3, 3), Size(20, 10));
        dev->DrawShadowOnBackground(Point(3, 3), Size(20, 10), Color(0x808080ul));
        dev->DrawBlurShadow(Point(30, 5), Size(20, 20), 2, TransparentColor(Color(0x320000ul), 23));
        dev->BlurShadowEffect(CRectangle(0, 0, 40, 30), Color(0xFFFFFFul), 2, 1.0, TransparentColor(Color(0ul), 50));
        dev->InsetShadow(CRectangle(8, 8, 50, 40), 3, 1.0, TransparentColor(Color(0ul), 50));
        dev->InsetEffect(CRectangle(0, 0, 63, 47), Color(0xFFFFFFul), 3, 1.0, TransparentColor(Color(0ul), 50));
    };
    cycle();
    std::size_t const gdi = kstest::GdiObjectCount();
    auto const heap = kstest::CurrentHeapUsage();
    for (int i = 0; i < 100; ++i)
        cycle();
    EXPECT_EQ(gdi, kstest::GdiObjectCount());
    EXPECT_EQ(heap.blocks, kstest::CurrentHeapUsage().blocks);
}

TEST_F(EffectsTest, DropShadowFadesOutwardsOverWhatIsThere)
{
    dev->Erase(Color(0xFF0000ul), CRectangle(10, 10, 29, 24));
    dev->Erase(Color(0x00FF00ul), CRectangle(0, 26, 15, 26)); // a green line the shadow crosses
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
    EXPECT_EQ(0, GetRValue(At(14, 26)));

    OutputDevice none(static_cast<HDC>(nullptr));
    EXPECT_FALSE(none.DrawShadow(Point(1, 1), Size(5, 5)));
    EXPECT_FALSE(dev->DrawShadow(Point(1, 1), Size(0, 5)));
    EXPECT_FALSE(dev->DrawShadow(Point(200, 1), Size(5, 5))) << "nothing of it on the device";
}

TEST_F(EffectsTest, ShadowOnBackgroundIsTheSameWhateverWasUnderIt)
{
    std::vector<COLORREF> const white = Shot();
    ASSERT_TRUE(dev->DrawShadow(Point(10, 10), Size(20, 15)));
    std::vector<COLORREF> const soft = Shot();
    dev->Erase(Color(0xFFFFFFul), CRectangle(0, 0, 63, 47));
    ASSERT_TRUE(dev->DrawShadowOnBackground(Point(10, 10), Size(20, 15), Color(0xFFFFFFul)));
    std::vector<COLORREF> const plain = Shot();
    for (int i = 0; i < 64 * 48; ++i) {
        EXPECT_EQ(plain[size_t(i)] == white[size_t(i)], soft[size_t(i)] == white[size_t(i)]) << "pixel " << i;
        EXPECT_NEAR(GetRValue(soft[size_t(i)]), GetRValue(plain[size_t(i)]), 2) << "pixel " << i;
    }
    // Over stripes of other colours the shadow's pixels stay the same.
    for (int x = 0; x < 64; x += 2)
        dev->Erase(Color(static_cast<unsigned long>(RGB(x * 4, 0, 128))), CRectangle(x, 0, x, 47));
    std::vector<COLORREF> const stripes = Shot();
    ASSERT_TRUE(dev->DrawShadowOnBackground(Point(10, 10), Size(20, 15), Color(0xFFFFFFul)));
    for (int i = 0; i < 64 * 48; ++i)
        EXPECT_EQ(plain[size_t(i)] != white[size_t(i)] ? plain[size_t(i)] : stripes[size_t(i)], At(i % 64, i / 64))
            << "pixel " << i;
    OutputDevice none(static_cast<HDC>(nullptr));
    EXPECT_FALSE(none.DrawShadowOnBackground(Point(1, 1), Size(5, 5), Color(0ul)));
}

TEST_F(EffectsTest, BlurredShadowsFallBeneathTheShapesOnly)
{
    CRectangle const r(10, 10, 29, 24);
    dev->Erase(Color(0xFF0000ul), r);
    std::vector<COLORREF> const before = Shot();
    ASSERT_TRUE(dev->DrawBlurShadow(Point(10, 10), Size(20, 15), 2, TransparentColor(Color(0x320000ul), 0)));
    EXPECT_EQ(CRectangle(), Changed(before)) << "opacity 0";
    // The window frame's shadow: depth 2, a dark blue at 23 %.
    ASSERT_TRUE(dev->DrawBlurShadow(Point(10, 10), Size(20, 15), 2, TransparentColor(Color(0x320000ul), 23)));
    CRectangle const changed = Changed(before);
    EXPECT_TRUE(CRectangle(9, 9, 34, 29).IsInside(changed)) << changed.GetStr().GetStr();
    for (int i = 0; i < 64 * 48; ++i)
        if (r.IsInside(Point(i % 64, i / 64))) {
            ASSERT_EQ(before[size_t(i)], At(i % 64, i / 64)) << "the rectangle stays, pixel " << i;
        }
    EXPECT_LT(Grey(30, 20), Grey(33, 20));
    EXPECT_GE(Grey(30, 20), 190) << "at most 23 % dark";
    EXPECT_GT(GetBValue(At(30, 20)), Grey(30, 20)) << "in its colour";
    EXPECT_FALSE(dev->DrawBlurShadow(Point(10, 10), Size(20, 15), -1, TransparentColor(Color(0ul), 50)));

    // Shapes on a key colour: two squares in a rectangle of white.
    dev->Erase(Color(0xFFFFFFul), CRectangle(0, 0, 63, 47));
    dev->Erase(Color(0xFF0000ul), CRectangle(10, 10, 15, 15));
    dev->Erase(Color(0x00FF00ul), CRectangle(30, 20, 32, 22));
    std::vector<COLORREF> const shapes = Shot();
    ASSERT_TRUE(dev->BlurShadowEffect(CRectangle(5, 5, 40, 30), Color(0xFFFFFFul), 3, 1.0,
                                      TransparentColor(Color(0ul), 100)));
    int n = 0;
    Changed(shapes, &n);
    EXPECT_GT(n, 40);
    for (int i = 0; i < 64 * 48; ++i) {
        int const x = i % 64, y = i / 64;
        bool const nearFirst = x >= 10 && x <= 21 && y >= 10 && y <= 21 && (x > 15 || y > 15);
        bool const nearSecond = x >= 30 && x <= 38 && y >= 20 && y <= 28 && (x > 32 || y > 22);
        if (!nearFirst && !nearSecond) {
            EXPECT_EQ(shapes[size_t(i)], At(x, y)) << x << ", " << y;
        }
    }
    EXPECT_LT(Grey(16, 16), 64) << "dark under the moved square";
    OutputDevice none(static_cast<HDC>(nullptr));
    EXPECT_FALSE(none.BlurShadowEffect(CRectangle(0, 0, 5, 5), Color(0ul), 2, 1.0, TransparentColor()));
}

TEST_F(EffectsTest, InnerShadowsStayInsideAlongTheTopAndLeftEdges)
{
    dev->Erase(Color(0x808080ul), CRectangle(0, 0, 63, 47));
    std::vector<COLORREF> const before = Shot();
    // A blur reach of 3 under a depth of 4: the right and bottom edges get
    // none of it.
    ASSERT_TRUE(dev->InsetShadow(CRectangle(10, 10, 40, 30), 4, 1.0, TransparentColor(Color(0ul), 80)));
    CRectangle const changed = Changed(before);
    EXPECT_EQ(CRectangle(10, 10, 40, 30), changed.GetUnion(CRectangle(10, 10, 40, 30))) << "nothing outside";
    EXPECT_EQ(Point(10, 10), changed.TopLeft());
    EXPECT_LT(Grey(10, 20), Grey(13, 20));
    EXPECT_LT(Grey(13, 20), Grey(16, 20));
    EXPECT_LT(Grey(25, 11), 0x80);
    for (int y = 17; y <= 30; ++y)
        for (int x = 17; x <= 40; ++x)
            ASSERT_EQ(0x80, Grey(x, y)) << "bottom-right interior at " << x << ", " << y;

    // Shapes on a key colour: each one pressed in on its own.
    dev->Erase(Color(0xFFFFFFul), CRectangle(0, 0, 63, 47));
    dev->Erase(Color(0x00FF00ul), CRectangle(10, 10, 25, 25));
    std::vector<COLORREF> const shapes = Shot();
    ASSERT_TRUE(dev->InsetEffect(CRectangle(0, 0, 63, 47), Color(0xFFFFFFul), 3, 1.0,
                                 TransparentColor(Color(0ul), 100)));
    EXPECT_TRUE(CRectangle(10, 10, 25, 25).IsInside(Changed(shapes))) << "only the shape darkens";
    EXPECT_LT(GetGValue(At(10, 18)), GetGValue(At(20, 18)));
    EXPECT_EQ(RGB(0, 255, 0), At(24, 24));
    OutputDevice none(static_cast<HDC>(nullptr));
    EXPECT_FALSE(none.InsetShadow(CRectangle(0, 0, 5, 5), 2, 1.0, TransparentColor()));
    EXPECT_FALSE(none.InsetEffect(CRectangle(0, 0, 5, 5), Color(0ul), 2, 1.0, TransparentColor()));
}
