// ks-test: serial
// Bitmap buttons: where the bitmap lands on the face in each state, and the
// dialog button's PNG with its transparency.
#include "controls/BitmapButton.h"
#include "controls/ZnDialogBitmapButton.h"
#include "frame/KSData.h"
#include "graphics/ImageList.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/ResourceModule.h"
#include "tests/support/WindowFixture.h"

#include <gdiplus.h>
#include <gtest/gtest.h>

namespace {

// Where the face shows the colour, and how often.
struct Seen
{
    CRectangle where;
    int count = 0;
};
Seen Find(HWND h, COLORREF c)
{
    Seen s;
    kstest::ScanClient(h, [&](int x, int y, COLORREF p) {
        if (p == c && ++s.count)
            s.where.Union(CRectangle(x, y, x, y));
    });
    return s;
}

class BitmapButtonTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
        ShowTop(Point(0, 0), Size(300, 200));
        // A red 10 x 6 block in a magenta frame of 2 pixels: 14 x 10.
        kstest::Pixels px(14 * 10, 0xFF00FF);
        for (int y = 2; y < 8; ++y)
            for (int x = 2; x < 12; ++x)
                px[size_t(y * 14 + x)] = 0xFF0000;
        picture.SetHBitmap(kstest::MakeHBitmap(14, 10, px));
    }
    void TearDown() override
    {
        picture.Delete();
        WindowFixture::TearDown();
    }
    Bitmap picture;
};

} // namespace

TEST_F(BitmapButtonTest, TheBitmapSitsInTheMiddleAndFollowsTheState)
{
    ASSERT_FALSE(GetPKSData()->HasVisualStyles()) << "without visual styles the face is ours";
    BitmapButton b(top, picture, true);
    EXPECT_EQ(LONG_PTR(0x8000 | BS_BITMAP | BS_OWNERDRAW), GetWindowLongPtrA(b.GetHWND(), GWL_STYLE) & 0xFFFF);
    b.SetPosSizePixel(Point(10, 10), Size(60, 40));
    b.Show();
    HWND h = b.GetHWND();
    CRectangle const middle(Point(25, 17), Size(10, 6)); // (60 - 10) / 2, (40 - 6) / 2
    Seen s = Find(h, RGB(255, 0, 0));
    EXPECT_EQ(middle, s.where);
    EXPECT_EQ(60, s.count) << "the magenta frame is not drawn";
    EXPECT_EQ(0, Find(h, RGB(255, 0, 255)).count);

    SendMessageA(h, BM_SETSTATE, TRUE, 0);
    s = Find(h, RGB(255, 0, 0));
    EXPECT_EQ(CRectangle(Point(26, 18), Size(10, 6)), s.where) << "pressed: one pixel down and right";
    SendMessageA(h, BM_SETSTATE, FALSE, 0);

    b.Enable(false);
    EXPECT_EQ(0, Find(h, RGB(255, 0, 0)).count) << "disabled: greyed";
    b.Enable(true);

    Bitmap other;
    other.SetHBitmap(kstest::MakeHBitmap(4, 4, kstest::Pixels(16, 0x0000FF)));
    b.SetBitmap(other);
    EXPECT_EQ(CRectangle(Point(28, 18), Size(4, 4)), Find(h, RGB(0, 0, 255)).where);
    EXPECT_EQ(0, Find(h, RGB(255, 0, 0)).count);
}

TEST_F(BitmapButtonTest, EachStateShowsItsOwnBitmapFromTheResources)
{
    // Four plain bitmaps of 6 x 6: normal red, pressed green, hot blue,
    // disabled yellow, in a resource module made for the test.
    kstest::ResourceModule resources("bitmapbutton-resources.dll");
    std::uint32_t const colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
    for (unsigned i = 0; i < 4; ++i)
        ASSERT_TRUE(resources.AddBitmap(101 + i, kstest::MakeHBitmap(6, 6, kstest::Pixels(36, colours[i]))));
    HMODULE module = resources.Load();
    ASSERT_NE(nullptr, module);
    HINSTANCE const own = ImageList::aResHandle;
    ImageList::aResHandle = module;
    BitmapButton b(top, 101, 102, 103, 104);
    b.SetPosSizePixel(Point(10, 60), Size(40, 30));
    b.Show();
    HWND h = b.GetHWND();
    auto shows = [&](COLORREF c) { return Find(h, c).count == 36; };
    EXPECT_TRUE(shows(RGB(255, 0, 0)));
    SendMessageA(h, BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(shows(RGB(0, 255, 0)));
    SendMessageA(h, BM_SETSTATE, FALSE, 0);
    // The pointer over it, through the real input queue.
    Point p = b.OutputToScreenPixel(Point(20, 15));
    SetCursorPos(p.X() - 1, p.Y());
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = 1;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &move, sizeof move);
    kstest::Pump();
    EXPECT_TRUE(b.IsHot());
    EXPECT_TRUE(shows(RGB(0, 0, 255)));
    SetCursorPos(p.X() + 200, p.Y() + 100);
    SendInput(1, &move, sizeof move);
    // The platform notices the pointer leaving on a timer of its own.
    kstest::PumpUntil([&] { return !b.IsHot(); }, 2000);
    EXPECT_FALSE(b.IsHot());
    EXPECT_TRUE(shows(RGB(255, 0, 0)));
    b.Enable(false);
    EXPECT_TRUE(shows(RGB(255, 255, 0)));
    ImageList::aResHandle = own;
}

TEST_F(BitmapButtonTest, TheDialogButtonBlendsItsPngOnTheFace)
{
    ZnDialogBitmapButton d;
    ASSERT_TRUE(d.Create("", WS_VISIBLE, RECT{100, 10, 160, 50}, top->GetPCWnd(), 77));
    EXPECT_EQ(LONG_PTR(BS_OWNERDRAW), GetWindowLongPtrA(d.m_hWnd, GWL_STYLE) & 0xF);
    Gdiplus::Bitmap image(8, 8, PixelFormat32bppARGB);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.SetPixel(x, y, Gdiplus::Color(x < 4 ? 255 : 0, 0, 0, 255));
    d.SetPngBitmap(Bitmap(&image));
    // The opaque half blue, the transparent half the face.
    Seen blue = Find(d.m_hWnd, RGB(0, 0, 255));
    EXPECT_EQ(CRectangle(Point(26, 16), Size(4, 8)), blue.where);
    EXPECT_EQ(32, blue.count);
    COLORREF const face = kstest::PixelOf(d.m_hWnd, 22, 20);
    EXPECT_EQ(face, kstest::PixelOf(d.m_hWnd, 32, 20));
    EnableWindow(d.m_hWnd, FALSE);
    RedrawWindow(d.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    COLORREF const faded = kstest::PixelOf(d.m_hWnd, 27, 20);
    EXPECT_GT(GetRValue(faded), 0) << "disabled: the face shows through";
    EXPECT_LT(GetRValue(faded), GetRValue(face));
    EnableWindow(d.m_hWnd, TRUE);
    // With a text the image moves to the left edge.
    SetWindowTextA(d.m_hWnd, "Go");
    EXPECT_LT(Find(d.m_hWnd, RGB(0, 0, 255)).where.Left(), 10);
    EXPECT_FALSE(d.SetPngBitmap(4711u)) << "no such resource";
    EXPECT_TRUE(d.GetPngBitmap().Empty());
    d.DestroyWindow();
}

TEST_F(BitmapButtonTest, BitmapButtonsLeaveNothingBehind)
{
    auto cycle = [&] {
        BitmapButton b(top, picture, false);
        b.SetPosSizePixel(Point(0, 0), Size(30, 20));
        b.Show();
        b.Enable(false);
        kstest::Pump();
        ZnDialogBitmapButton d;
        d.Create("x", WS_VISIBLE, RECT{40, 0, 80, 20}, top->GetPCWnd(), 78);
        d.SetPngBitmap(picture);
        UpdateWindow(d.m_hWnd);
        d.DestroyWindow();
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 10}, cycle));
}
