// ks-test: serial
#include "frame/KSData.h"
#include "mfc/CWnd.h"
#include "window/Window.h"
#include "window/WorkWindow.h"
#include "graphics/Bitmap.h"
#include "graphics/DCManager.h"
#include "graphics/Brush.h"
#include "graphics/Pen.h"
#include "tests/support/ImageSamples.h"
#include "tests/support/WindowFixture.h"

#include <gtest/gtest.h>

namespace {
class Probe : public WorkWindow
{
public:
    Probe() : WorkWindow(static_cast<CWnd *>(nullptr), 0x171) {}
    int resizes = 0, moved = 0;
    void Resize() override { ++resizes; }
    void OnMoved() override { ++moved; }
};

class Child : public Window
{
public:
    Child(Window *parent, int style = 0) : Window(parent, style, 0) {}
    int paints = 0;
    void Paint(CRectangle const &) override
    {
        ++paints;
        ChangePen(Pen(PS_NULL));
        ChangeFillInBrush(Brush(Color(0x00FF00ul), BrushStyleSolid));
        DrawRect(CRectangle(5, 5, 24, 24));
    }
};

using WindowTest = kstest::WindowFixture;
} // namespace

TEST_F(WindowTest, ShowHideAndResizingWhileMinimisedFollowThePlatform)
{
    Probe w;
    Child child(&w, 0x800);
    EXPECT_EQ(w.GetHWND(), ::GetParent(child.GetHWND()));
    w.Show();
    ShowWindow(w.GetHWND(), SW_HIDE);
    EXPECT_FALSE(w.IsVisible()) << "WM_SHOWWINDOW tells the window";
    w.Show();
    w.Show();
    w.Hide();
    w.Hide();
    EXPECT_FALSE(IsWindowVisible(w.GetHWND()));

    // Resizing a hidden minimised window restores it at the next show.
    w.Minimize();
    w.Show();
    ASSERT_TRUE(IsIconic(w.GetHWND()));
    w.Hide();
    w.ChangeSizePixel(Size(300, 200));
    EXPECT_FALSE(IsWindowVisible(w.GetHWND()));
    w.Show();
    EXPECT_FALSE(IsIconic(w.GetHWND()));
}

TEST_F(WindowTest, ResizeMarkerCallsResizeExactlyOnce)
{
    Probe w;
    w.ChangeSizePixel(Size(250, 180));
    int const base = w.resizes;
    w.SetResizeMarker();
    w.ChangeSizePixel(Size(250, 180));
    EXPECT_EQ(base + 1, w.resizes);
    w.SetResizeMarker();
    w.ChangeSizePixel(Size(260, 190));
    EXPECT_EQ(base + 2, w.resizes);
    w.ChangeSizePixel(Size(260, 190));
    EXPECT_EQ(base + 2, w.resizes);
}

TEST_F(WindowTest, PositionsAreKeptInParentCoordinates)
{
    Probe top;
    top.SetPosSizePixel(Point(50, 60), Size(400, 300));
    EXPECT_GE(top.moved, 1);
    Child child(&top);
    child.SetPosSizePixel(Point(10, 20), Size(100, 50));
    EXPECT_EQ(CRectangle(0, 0, 99, 49), child.GetClientRect());
    EXPECT_EQ(Point(7, 8), child.ScreenToOutputPixel(child.OutputToScreenPixel(Point(7, 8))));
    EXPECT_FALSE(child.ScreenPosIsInside(child.OutputToScreenPixel(Point(150, 5))));
    MoveWindow(child.GetHWND(), 30, 40, 100, 50, TRUE);
    EXPECT_EQ(Point(30, 40), child.GetPosPixel());
}

TEST_F(WindowTest, NoUpdateModePassesPaintAndEatsErase)
{
    Probe top;
    Child c(&top);
    c.ChangeSizePixel(Size(50, 50));
    c.ChangeUpdateMode(false);
    SendMessageA(c.GetHWND(), WM_PAINT, 0, 0);
    EXPECT_EQ(0, c.paints);
    HDC dc = GetDC(c.GetHWND());
    EXPECT_EQ(1, SendMessageA(c.GetHWND(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    ReleaseDC(c.GetHWND(), dc);
    c.ChangeUpdateMode(true);
    SendMessageA(c.GetHWND(), WM_PAINT, 0, 0);
    EXPECT_EQ(1, c.paints);
}

TEST_F(WindowTest, HourGlassAndCursors)
{
    HCURSOR const arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    SetCursor(arrow);
    Window::ShowHourGlass(true);
    Window::ShowHourGlass(true);
    Window::ShowHourGlass(false);
    EXPECT_EQ(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)), GetCursor());
    Window::ShowHourGlass(false);
    EXPECT_EQ(arrow, GetCursor());
    Window::ShowHourGlass(false);
    EXPECT_EQ(0, Window::GetNWait());

    Probe w;
    HICON const cross = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
    w.ChangeCursor(cross);
    SendMessageA(w.GetHWND(), WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(cross, GetCursor());
    w.ResetArrowPointer();
    SendMessageA(w.GetHWND(), WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(arrow, GetCursor());
}

TEST_F(WindowTest, ParentsFocusAndReparenting)
{
    Probe top;
    Child a(&top), b(&a);
    EXPECT_TRUE(b.IsAParentWin(&top));
    EXPECT_FALSE(top.IsAParentWin(&b));
    top.Show();
    a.Show();
    b.Show();
    b.GrabFocus();
    EXPECT_TRUE(b.HasFocus());
    b.ParentGrabFocus();
    EXPECT_TRUE(top.HasFocus());
    b.ChangeParent(&top);
    EXPECT_EQ(top.GetHWND(), ::GetParent(b.GetHWND()));
}

TEST_F(WindowTest, PaintDrawsThroughTheWindowsOwnDevice)
{
    Probe top;
    top.SetPosSizePixel(Point(0, 0), Size(200, 200));
    top.Show();
    Child p(&top);
    p.SetPosSizePixel(Point(10, 10), Size(60, 60));
    p.ChangeBackgroundBrush(Brush(Color(0x0000FFul), BrushStyleSolid));
    p.Show();
    RedrawWindow(p.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(RGB(0, 255, 0), kstest::PixelOf(p.GetHWND(), 10, 10)) << "drawn in Paint";
    EXPECT_EQ(RGB(255, 0, 0), kstest::PixelOf(p.GetHWND(), 40, 40)) << "erased with the background brush";
    p.ChangeFillInBrush(Brush(Color(0xFF0000ul), BrushStyleSolid));
    EXPECT_TRUE(p.DrawRect(CRectangle(30, 30, 39, 39)));
    EXPECT_EQ(RGB(0, 0, 255), kstest::PixelOf(p.GetHWND(), 35, 35));
    SendMessageA(p.GetHWND(), WM_USER, 0, 0);
    EXPECT_EQ(nullptr, GetPKSData()->m_pDCManager->GetCachedDC());
}

TEST_F(WindowTest, BackgroundBitmapsTileFromTheClientOriginOrTheScreen)
{
    Probe top;
    top.SetPosSizePixel(Point(0, 0), Size(200, 200));
    top.Show();
    // Child draws only its square; the rest is the erased background.
    Child p(&top);
    p.SetPosSizePixel(Point(37, 23), Size(60, 50));
    p.ChangeBackgroundBrush(Brush(Color(0x0000FFul), BrushStyleSolid));
    kstest::Pixels px = kstest::Pattern(7, 5);
    Bitmap tile;
    tile.SetHBitmap(kstest::MakeHBitmap(7, 5, px));
    p.ChangeBackgroundBitmap(tile);
    p.Show();
    for (bool screen : {false, true}) {
        p.SetAlignBGBMP(screen);
        POINT o{0, 0};
        if (screen)
            ClientToScreen(p.GetHWND(), &o);
        RedrawWindow(p.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        int bad = 0;
        kstest::ScanClient(p.GetHWND(), [&](int x, int y, COLORREF c) {
            if (x >= 5 && x <= 24 && y >= 5 && y <= 24)
                return;
            std::uint32_t const v = px[size_t((y + o.y) % 5 * 7 + (x + o.x) % 7)];
            bad += c != RGB(v >> 16, v >> 8 & 0xFF, v & 0xFF);
        });
        EXPECT_EQ(0, bad) << (screen ? "aligned to the screen" : "from the client origin");
    }
}

TEST_F(WindowTest, ChildrenOfKindFourInheritTheParentsLook)
{
    Probe top;
    top.ChangeBackgroundBrush(Brush(Color(0x123456ul), BrushStyleSolid));
    top.ChangeFont(Font(SString("Tahoma"), 17));
    Window child(&top, 0, 4);
    EXPECT_EQ(0x123456ul, child.GetBackgroundBrush().GetColor().GetLong());
    EXPECT_EQ(17, child.GetFont().GetHeight());
    EXPECT_FALSE(Window(&top, 0, 0).GetBackgroundBrush().IsValid());
}
