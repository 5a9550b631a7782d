// Off-screen devices: their bitmaps, sizes, fallbacks, the live count and
// what they leave behind.
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "graphics/VirtualDevice.h"
#include "tests/support/LeakLoop.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

class VirtualDeviceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        SetKSMainFrame(nullptr, GetModuleHandleA(nullptr)); // the pattern brushes' bitmaps
    }
    void TearDown() override { KSExit(); }
};

int BitsOfSelectedBitmap(HDC h)
{
    BITMAP bm{};
    GetObjectA(GetCurrentObject(h, OBJ_BITMAP), sizeof bm, &bm);
    return bm.bmBitsPixel;
}

} // namespace

TEST_F(VirtualDeviceTest, ScreenDeviceStartsMonochromeGrowsInColourAndSurvivesAFailedSize)
{
    VirtualDevice dev;
    HDC h = dev.GethDC();
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(1, BitsOfSelectedBitmap(h));
    EXPECT_EQ(Size(), dev.GetOutputSizePixel());

    dev.ChangeBackgroundBrush(Brush(Color(0x00FF00ul), BrushStyleSolid));
    ASSERT_TRUE(dev.SetOutputSize(Size(30, 20), true));
    EXPECT_EQ(Size(30, 20), dev.GetOutputSizePixel());
    EXPECT_GE(BitsOfSelectedBitmap(h), 24) << "compatible with the screen, not with the 1-bit start";
    EXPECT_EQ(RGB(0, 255, 0), ::GetPixel(h, 29, 19)) << "erased with the background colour";
    EXPECT_EQ(CLR_INVALID, ::GetPixel(h, 30, 19));
    ASSERT_TRUE(dev.DrawPixel(Point(3, 3), Color(0x123456ul)));
    EXPECT_EQ(0x123456ul, dev.GetPixel(Point(3, 3)).GetLong());

    HGDIOBJ bitmap = GetCurrentObject(h, OBJ_BITMAP);
    EXPECT_TRUE(dev.SetOutputSize(Size(30, 20), true));
    EXPECT_EQ(0x123456ul, dev.GetPixel(Point(3, 3)).GetLong()) << "the same size changes nothing";

    ASSERT_TRUE(dev.SetOutputSize(Size(5, 6), false));
    EXPECT_EQ(Size(5, 6), dev.GetOutputSizePixel());
    EXPECT_NE(RGB(0, 255, 0), ::GetPixel(h, 1, 1)) << "not erased";
    EXPECT_EQ(0u, GetObjectType(bitmap)) << "the old bitmap was deleted";

    EXPECT_FALSE(dev.SetOutputSize(Size(0, 6), true));
    EXPECT_EQ(0ul, dev.GetBitmapError());
    EXPECT_FALSE(dev.SetOutputSize(Size(200000, 200000), true)) << "too large: the device stays as it was";
    EXPECT_NE(0ul, dev.GetBitmapError());
    EXPECT_EQ(Size(5, 6), dev.GetOutputSizePixel());
    EXPECT_TRUE(dev.DrawPixel(Point(4, 5), Color(0ul)));
    EXPECT_EQ(0ul, dev.GetPixel(Point(4, 5)).GetLong());
}

TEST_F(VirtualDeviceTest, DevicesCompatibleWithAnotherDeviceOrHDC)
{
    VirtualDevice screen;
    ASSERT_TRUE(screen.SetOutputSize(Size(4, 4), false));
    VirtualDevice likeScreen(screen);
    EXPECT_NE(screen.GethDC(), likeScreen.GethDC());
    EXPECT_EQ(BitsOfSelectedBitmap(screen.GethDC()), BitsOfSelectedBitmap(likeScreen.GethDC()))
        << "a 1 x 1 bitmap compatible with the other device";
    ASSERT_TRUE(likeScreen.SetOutputSize(Size(9, 9), true));
    EXPECT_EQ(BitsOfSelectedBitmap(screen.GethDC()), BitsOfSelectedBitmap(likeScreen.GethDC()));
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(likeScreen.GethDC(), 8, 8)) << "white without a background";

    HDC raw = CreateCompatibleDC(nullptr); // 1-bit
    {
        VirtualDevice onRaw(raw);
        ASSERT_TRUE(onRaw.SetOutputSize(Size(8, 8), false));
        EXPECT_EQ(1, BitsOfSelectedBitmap(onRaw.GethDC())) << "compatible with what it was given";
    }
    EXPECT_EQ(unsigned(OBJ_MEMDC), GetObjectType(raw));
    DeleteDC(raw);

    OutputDevice none(static_cast<HDC>(nullptr));
    VirtualDevice onNothing(none);
    ASSERT_TRUE(onNothing.SetOutputSize(Size(2, 2), true)) << "falls back to the screen";
    EXPECT_GE(BitsOfSelectedBitmap(onNothing.GethDC()), 24);
}

TEST_F(VirtualDeviceTest, LiveCountAndNothingLeftAfterAThousandDevices)
{
    long const base = VirtualDevice::GetDeviceCount();
    {
        VirtualDevice a, b(a);
        EXPECT_EQ(base + 2, VirtualDevice::GetDeviceCount());
    }
    EXPECT_EQ(base, VirtualDevice::GetDeviceCount());

    auto one = [](int i) {
        VirtualDevice dev;
        dev.SetOutputSize(Size(16 + i % 7, 16), true);
        dev.ChangePen(Pen(Color(static_cast<unsigned long>(i)), 1, PS_SOLID));
        dev.ChangeFillInBrush(Brush(Color(0x0000FFul), BrushStyleChecker));
        dev.ChangeFont(Font(SString("Arial"), 12));
        dev.DrawRect(CRectangle(1, 1, 10, 10));
        dev.DrawTextA(Point(0, 0), SString("k"));
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 250}, one));
    EXPECT_EQ(base, VirtualDevice::GetDeviceCount());
}
