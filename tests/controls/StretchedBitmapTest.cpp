// ks-test: serial
// The picture controls: a bitmap unscaled on the face colour, and one
// stretched over the whole control; repainting only on change.
#include "controls/FixedBitmap.h"
#include "controls/StretchedBitmap.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/WindowFixture.h"

#include <gtest/gtest.h>

namespace {

class PictureTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
        ShowTop(Point(0, 0), Size(300, 200));
        // red, green / blue, yellow
        quads.SetHBitmap(kstest::MakeHBitmap(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00}));
    }
    void TearDown() override
    {
        quads.Delete();
        WindowFixture::TearDown();
    }
    static COLORREF Quadrant(bool right, bool bottom)
    {
        return bottom ? (right ? RGB(255, 255, 0) : RGB(0, 0, 255)) : (right ? RGB(0, 255, 0) : RGB(255, 0, 0));
    }
    static bool Pending(HWND h) { return GetUpdateRect(h, nullptr, FALSE) != FALSE; }

    Bitmap quads;
};

} // namespace

TEST_F(PictureTest, StretchedBitmapFillsTheControlAndRepaintsOnChange)
{
    // Quadrants of 10 x 6 pixels stretched five times, resampled: away from
    // where two quadrants meet every pixel keeps its quadrant's colour.
    kstest::Pixels px(20 * 12);
    for (int i = 0; i < 20 * 12; ++i) {
        COLORREF const c = Quadrant(i % 20 >= 10, i / 20 >= 6);
        px[size_t(i)] = std::uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
    }
    Bitmap big;
    big.SetHBitmap(kstest::MakeHBitmap(20, 12, px));
    StretchedBitmap s(top, 0);
    s.SetPosSizePixel(Point(10, 10), Size(100, 60));
    s.Show();
    s.SetBitmap(big);
    int wrong = 0, seen = 0;
    kstest::ScanClient(s.GetHWND(), [&](int x, int y, COLORREF c) {
        if (std::abs(x - 50) > 12 && std::abs(y - 30) > 12) {
            ++seen;
            wrong += c != Quadrant(x >= 50, y >= 30);
        }
    });
    EXPECT_EQ(75 * 35, seen);
    EXPECT_EQ(0, wrong);

    kstest::Pump();
    ASSERT_FALSE(Pending(s.GetHWND()));
    Bitmap same = big;
    s.SetBitmap(same);
    EXPECT_FALSE(Pending(s.GetHWND())) << "the same bitmap: nothing to repaint";
    Bitmap other;
    other.SetHBitmap(kstest::MakeHBitmap(1, 1, {0x123456}));
    s.SetBitmap(other);
    EXPECT_TRUE(Pending(s.GetHWND()));
    kstest::ScanClient(s.GetHWND(), [&](int, int, COLORREF c) { wrong += c != RGB(0x12, 0x34, 0x56); });
    EXPECT_EQ(0, wrong);
}

TEST_F(PictureTest, FixedBitmapShowsItUnscaledOnTheFace)
{
    FixedBitmap f(top, 0);
    f.SetPosSizePixel(Point(10, 10), Size(40, 30));
    f.Show();
    f.SetBitmap(quads);
    COLORREF const face = GetSysColor(COLOR_BTNFACE);
    int wrong = 0;
    kstest::ScanClient(f.GetHWND(), [&](int x, int y, COLORREF c) {
        wrong += c != (x < 2 && y < 2 ? Quadrant(x == 1, y == 1) : face);
    });
    EXPECT_EQ(0, wrong);
    f.SetBitmap(Bitmap::CreateTransparentBG(Size(3, 3)));
    kstest::ScanClient(f.GetHWND(), [&](int x, int y, COLORREF c) {
        wrong += c != (x < 3 && y < 3 ? RGB(255, 0, 255) : face);
    });
    EXPECT_EQ(0, wrong) << "a GDI+ image flattened onto magenta";
}

TEST_F(PictureTest, PictureControlsLeaveNothingBehind)
{
    auto cycle = [&] {
        StretchedBitmap s(top, 0);
        s.SetPosSizePixel(Point(0, 0), Size(30, 20));
        s.SetBitmap(quads);
        s.Show();
        kstest::Pump();
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 10}, cycle));
}
