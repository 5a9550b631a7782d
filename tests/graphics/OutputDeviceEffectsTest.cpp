// The effects, judged by their pixels. Headless, Direct2D render targets
// fail and every effect runs on our own pixel code; the X11 run of the same
// checks (OutputDeviceD2DTest) takes the platform's effects where it has them.
#include "frame/KSGlobal.h"
#include "graphics/OutputDevice.h"
#include "graphics/VirtualDevice.h"
#include "tests/support/LeakCounters.h"

#include <cstdlib>
#include <gtest/gtest.h>
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
    };
    cycle();
    std::size_t const gdi = kstest::GdiObjectCount();
    auto const heap = kstest::CurrentHeapUsage();
    for (int i = 0; i < 100; ++i)
        cycle();
    EXPECT_EQ(gdi, kstest::GdiObjectCount());
    EXPECT_EQ(heap.blocks, kstest::CurrentHeapUsage().blocks);
}
