// ks-test: serial
// Window objects on real platform windows: creation, showing, position and
// size, focus, cursors, update mode.
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "mfc/CWnd.h"
#include "window/Control.h"
#include "window/ToolWindow.h"
#include "window/Window.h"
#include "window/WorkWindow.h"
#include "graphics/DCManager.h"
#include "graphics/Brush.h"
#include "graphics/Pen.h"

#include <gtest/gtest.h>

namespace {

class Probe : public WorkWindow
{
public:
    explicit Probe(int style = 0x171) : WorkWindow(static_cast<CWnd *>(nullptr), style) {}
    int resizes = 0, moved = 0, moves = 0;
    void Resize() override { ++resizes; }
    void OnMoved() override { ++moved; }
    void Move() override { ++moves; }
};

class Child : public Window
{
public:
    Child(Window *parent, int style = 0) : Window(parent, style, 0) {}
    int paints = 0;
    void Paint(CRectangle const &) override { ++paints; }
};

class WindowTest : public testing::Test
{
protected:
    void SetUp() override { KSInit(); }
    void TearDown() override { KSExit(); }
};

unsigned long Style(Window const &w)
{
    return static_cast<unsigned long>(GetWindowLongA(w.GetHWND(), GWL_STYLE));
}

} // namespace

TEST_F(WindowTest, KindsAndStylesOfNewWindows)
{
    Probe work(0x171); // border, thick frame, caption, min/max, system menu
    ASSERT_NE(nullptr, work.GetHWND());
    EXPECT_EQ(2, work.GetWinImpType());
    EXPECT_EQ(static_cast<unsigned long>(WS_OVERLAPPEDWINDOW),
              Style(work) & static_cast<unsigned long>(WS_OVERLAPPEDWINDOW));
    EXPECT_FALSE(work.IsVisible());
    EXPECT_EQ(SW_SHOW, work.GetShowCmd());

    ToolWindow tool(&work, 0);
    EXPECT_TRUE(GetWindowLongA(tool.GetHWND(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    Child child(&work, 0x800);
    EXPECT_TRUE(Style(child) & WS_CHILD);
    EXPECT_EQ(59648, GetDlgCtrlID(child.GetHWND())) << "style bit 0x800: the first pane's identifier";
    EXPECT_EQ(&work, child.GetParent());
    EXPECT_EQ(work.GetHWND(), ::GetParent(child.GetHWND()));

    EXPECT_EQ(0x00800000ul | 0x00080000ul, Window::TranslateWinStyles(0, 0x101));
    EXPECT_EQ(0x1400ul | 0x8200ul, Window::TranslateWinStyles(0, 0x90000));
    EXPECT_EQ(7ul, Window::TranslateWinStyles(7, 0x2)) << "unknown bits add nothing";
}

TEST_F(WindowTest, ShowAndHideOnlyWhenTheStateChanges)
{
    Probe w;
    w.Show();
    EXPECT_TRUE(w.IsVisible());
    EXPECT_TRUE(IsWindowVisible(w.GetHWND()));
    ShowWindow(w.GetHWND(), SW_HIDE); // behind the Window's back: WM_SHOWWINDOW tells it
    EXPECT_FALSE(w.IsVisible());
    w.Show();
    w.Show();
    EXPECT_TRUE(IsWindowVisible(w.GetHWND()));
    w.Hide();
    w.Hide();
    EXPECT_FALSE(IsWindowVisible(w.GetHWND()));
}

TEST_F(WindowTest, ResizingAHiddenMinimisedWindowRestoresAtTheNextShow)
{
    Probe w;
    w.Minimize(); // hidden: only remembered
    EXPECT_EQ(SW_SHOWMINIMIZED, w.GetShowCmd());
    w.Show();
    ASSERT_TRUE(IsIconic(w.GetHWND()));
    w.Hide();
    w.ChangeSizePixel(Size(300, 200));
    EXPECT_FALSE(IsWindowVisible(w.GetHWND())) << "resizing does not show";
    EXPECT_EQ(SW_RESTORE, w.GetShowCmd());
    w.Show();
    EXPECT_FALSE(IsIconic(w.GetHWND()));
    EXPECT_TRUE(IsWindowVisible(w.GetHWND()));
}

TEST_F(WindowTest, ResizeMarkerCallsResizeExactlyOnce)
{
    Probe w;
    w.ChangeSizePixel(Size(250, 180));
    int const base = w.resizes;
    w.SetResizeMarker();
    w.ChangeSizePixel(Size(250, 180)); // no WM_SIZE: called directly
    EXPECT_EQ(base + 1, w.resizes);
    EXPECT_FALSE(w.GetResizeMarker());
    w.SetResizeMarker();
    w.ChangeSizePixel(Size(260, 190)); // WM_SIZE: called by the router only
    EXPECT_EQ(base + 2, w.resizes);
    w.ChangeSizePixel(Size(260, 190)); // neither marker nor change
    EXPECT_EQ(base + 2, w.resizes);
}

TEST_F(WindowTest, PositionsAreKeptInParentCoordinates)
{
    Probe top;
    top.SetPosSizePixel(Point(50, 60), Size(400, 300));
    EXPECT_EQ(Point(50, 60), top.GetPosPixel());
    EXPECT_GE(top.moved, 1);
    Child child(&top);
    child.SetPosSizePixel(Point(10, 20), Size(100, 50));
    EXPECT_EQ(Point(10, 20), child.GetPosPixel());
    EXPECT_EQ(child.OutputToScreenPixel(Point(0, 0)), child.GetScreenPixel());
    EXPECT_EQ(Size(100, 50), child.GetOutputSizePixel());
    EXPECT_EQ(CRectangle(0, 0, 99, 49), child.GetClientRect()) << "inclusive right and bottom";
    EXPECT_EQ(Point(7, 8), child.ScreenToOutputPixel(child.OutputToScreenPixel(Point(7, 8))));
    EXPECT_TRUE(child.ScreenPosIsInside(child.OutputToScreenPixel(Point(5, 5))));
    EXPECT_FALSE(child.ScreenPosIsInside(child.OutputToScreenPixel(Point(150, 5))));
    // Moved by someone else: WM_MOVE brings the position back in.
    MoveWindow(child.GetHWND(), 30, 40, 100, 50, TRUE);
    EXPECT_EQ(Point(30, 40), child.GetPosPixel());

    top.ChangeOutputSizePixel(Size(320, 240));
    EXPECT_EQ(Size(320, 240), top.GetOutputSizePixel());
}

TEST_F(WindowTest, NoUpdateModePassesPaintAndEatsErase)
{
    Probe top;
    Child c(&top);
    c.ChangeSizePixel(Size(50, 50));
    SendMessageA(c.GetHWND(), WM_PAINT, 0, 0);
    EXPECT_EQ(1, c.paints);
    c.ChangeUpdateMode(false);
    EXPECT_FALSE(c.IsUpdateMode());
    SendMessageA(c.GetHWND(), WM_PAINT, 0, 0);
    EXPECT_EQ(1, c.paints);
    HDC dc = GetDC(c.GetHWND());
    EXPECT_EQ(1, SendMessageA(c.GetHWND(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0))
        << "consumed: nothing is erased";
    ReleaseDC(c.GetHWND(), dc);
    c.ChangeUpdateMode(true);
    SendMessageA(c.GetHWND(), WM_PAINT, 0, 0);
    EXPECT_EQ(2, c.paints);
}

TEST_F(WindowTest, HourGlassCountsNestedCalls)
{
    HCURSOR const arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    SetCursor(arrow);
    Window::ShowHourGlass(true);
    Window::ShowHourGlass(true);
    Window::ShowHourGlass(false);
    EXPECT_TRUE(Window::IsHourGlass());
    EXPECT_EQ(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)), GetCursor());
    Window::ShowHourGlass(false);
    EXPECT_FALSE(Window::IsHourGlass());
    EXPECT_EQ(arrow, GetCursor());
    Window::ShowHourGlass(false);
    EXPECT_EQ(0, Window::GetNWait());
}

TEST_F(WindowTest, ControlIdentifiersCountUp)
{
    int const first = Window::GetControlIdCnt();
    EXPECT_GE(first, 10000);
    EXPECT_EQ(first + 1, Window::GetControlIdCnt());
    EXPECT_EQ(first + 2, Window::GetControlIdCnt());
}

TEST_F(WindowTest, ParentsFocusAndText)
{
    Probe top;
    Child a(&top), b(&a);
    EXPECT_FALSE(b.IsAParentWin(nullptr));
    EXPECT_FALSE(b.IsAParentWin(&b));
    EXPECT_TRUE(b.IsAParentWin(&a));
    EXPECT_TRUE(b.IsAParentWin(&top));
    EXPECT_FALSE(top.IsAParentWin(&b));

    top.Show();
    a.Show();
    b.Show();
    b.GrabFocus();
    EXPECT_TRUE(b.HasFocus());
    b.ParentGrabFocus(); // up through owned windows to the top, whose platform parent is none
    EXPECT_TRUE(top.HasFocus());

    top.SetText(SString("Kestrel"));
    EXPECT_STREQ("Kestrel", top.GetText().GetStr());
    Window empty;
    EXPECT_EQ(0, empty.GetText().Len());
    EXPECT_TRUE(empty.GetClientRect().IsEmpty());
    EXPECT_EQ(Size(0, 0), empty.GetOutputSizePixel());
    EXPECT_EQ(Point(-1, -1), empty.GetMousePos());

    b.ChangeParent(&top);
    EXPECT_EQ(&top, b.GetParent());
    EXPECT_EQ(top.GetHWND(), ::GetParent(b.GetHWND()));
}

TEST_F(WindowTest, CursorsOverTheWindow)
{
    Probe w;
    HICON const arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    HICON const cross = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
    EXPECT_EQ(arrow, w.ChangeCursor(cross));
    SendMessageA(w.GetHWND(), WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(cross, GetCursor());
    w.ChangePointer(32649u /* IDC_HAND */, true);
    SendMessageA(w.GetHWND(), WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)), GetCursor());
    w.ResetArrowPointer();
    SendMessageA(w.GetHWND(), WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(arrow, GetCursor());
}

namespace {
// Paints through its own output device: a filled rectangle in the paint DC.
class Painter : public Window
{
public:
    explicit Painter(Window *parent) : Window(parent, 0, 0) {}
    int paints = 0;
    void Paint(CRectangle const &) override
    {
        ++paints;
        ChangePen(Pen(PS_NULL));
        ChangeFillInBrush(Brush(Color(0x00FF00ul), BrushStyleSolid));
        DrawRect(CRectangle(5, 5, 24, 24));
    }
};

COLORREF PixelOf(Window &w, int x, int y)
{
    HDC dc = GetDC(w.GetHWND());
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w.GetHWND(), dc);
    return c;
}
} // namespace

TEST_F(WindowTest, PaintDrawsThroughTheWindowsOwnDevice)
{
    Probe top;
    top.SetPosSizePixel(Point(0, 0), Size(200, 200));
    top.Show();
    Painter p(&top);
    p.SetPosSizePixel(Point(10, 10), Size(60, 60));
    p.ChangeBackgroundBrush(Brush(Color(0x0000FFul), BrushStyleSolid));
    p.Show();
    RedrawWindow(p.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_GE(p.paints, 1);
    EXPECT_EQ(OutputDeviceWindow, p.GetDeviceKind());
    EXPECT_EQ(RGB(0, 255, 0), PixelOf(p, 10, 10)) << "drawn in Paint";
    EXPECT_EQ(RGB(255, 0, 0), PixelOf(p, 40, 40)) << "erased with the device's background brush";
    // Outside Paint the device takes a window DC of its own, which the
    // router gives back after the next message.
    p.ChangeFillInBrush(Brush(Color(0xFF0000ul), BrushStyleSolid));
    EXPECT_TRUE(p.DrawRect(CRectangle(30, 30, 39, 39)));
    EXPECT_EQ(RGB(0, 0, 255), PixelOf(p, 35, 35));
    SendMessageA(p.GetHWND(), WM_USER, 0, 0);
    EXPECT_EQ(nullptr, GetPKSData()->m_pDCManager->GetCachedDC());
}

TEST_F(WindowTest, ChildrenOfKindFourInheritTheParentsLook)
{
    Probe top;
    top.ChangeBackgroundBrush(Brush(Color(0x123456ul), BrushStyleSolid));
    top.ChangeFont(Font(SString("Tahoma"), 17));
    Window child(&top, 0, 4);
    EXPECT_EQ(0x123456ul, child.GetBackgroundBrush().GetColor().GetLong());
    EXPECT_EQ(17, child.GetFont().GetHeight());
    Window plain(&top, 0, 0);
    EXPECT_FALSE(plain.GetBackgroundBrush().IsValid());
}
