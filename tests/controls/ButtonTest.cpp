// ks-test: serial
// Buttons on real platform controls: click and hold timing through the
// library's timers, check state inside the click handler, identifiers,
// owner-drawn faces and command routing.
#include "controls/CheckBox.h"
#include "controls/DrawButton.h"
#include "controls/GroupBox.h"
#include "controls/PushButton.h"
#include "controls/RadioButton.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "frame/WinMsgRouter.h"
#include "tests/support/LeakCounters.h"
#include "window/WorkWindow.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class Counter : public LinkHdl
{
public:
    int clicks = 0, holds = 0;
    bool checkedInClick = false;
    __int64 OnClick(void *p)
    {
        ++clicks;
        if (auto *box = dynamic_cast<CheckBox *>(static_cast<Button *>(p)))
            checkedInClick = box->GetCheck();
        return 0;
    }
    __int64 OnHold(void *)
    {
        ++holds;
        return 0;
    }
};

void PumpFor(DWORD ms)
{
    DWORD const end = GetTickCount() + ms;
    MSG m;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&m);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

class ButtonTest : public testing::Test
{
protected:
    void SetUp() override
    {
        KSInit();
        parent = new WorkWindow(static_cast<CWnd *>(nullptr), 0);
    }
    void TearDown() override
    {
        delete parent;
        KSExit();
    }
    static void Press(Button &b) { SendMessageA(b.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }
    static void Release(Button &b) { SendMessageA(b.GetHWND(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }
    WorkWindow *parent = nullptr;
    Counter counter;
};

} // namespace

TEST_F(ButtonTest, QuickPressClicksOnce)
{
    PushButton b(parent, 0);
    b.ChangeClickHdl(Link(&counter, &Counter::OnClick));
    b.ChangeHoldHdl(Link(&counter, &Counter::OnHold));
    Press(b);
    PumpFor(100);
    Release(b);
    EXPECT_EQ(1, counter.clicks);
    EXPECT_EQ(0, counter.holds);
}

TEST_F(ButtonTest, HoldingRepeatsAndSwallowsTheClick)
{
    PushButton b(parent, 0);
    b.ChangeClickHdl(Link(&counter, &Counter::OnClick));
    b.ChangeHoldHdl(Link(&counter, &Counter::OnHold));
    Press(b);
    PumpFor(1050);
    EXPECT_TRUE(b.HeldDown());
    Release(b);
    // About 400, 600, 800, 1000 ms; timers here are coarse, so allow slack.
    EXPECT_GE(counter.holds, 2);
    EXPECT_LE(counter.holds, 5);
    EXPECT_EQ(0, counter.clicks);
    EXPECT_FALSE(b.HeldDown());
}

TEST_F(ButtonTest, HoldingWithoutAHoldLinkStillClicks)
{
    PushButton b(parent, 0);
    b.ChangeClickHdl(Link(&counter, &Counter::OnClick));
    Press(b);
    PumpFor(700);
    Release(b);
    EXPECT_EQ(1, counter.clicks);
}

TEST_F(ButtonTest, DisallowedClicksCallNothing)
{
    PushButton b(parent, 0);
    b.ChangeClickHdl(Link(&counter, &Counter::OnClick));
    b.ChangeHoldHdl(Link(&counter, &Counter::OnHold));
    b.AllowClick(false);
    Press(b);
    PumpFor(500);
    Release(b);
    Press(b);
    Release(b);
    EXPECT_EQ(0, counter.clicks);
    EXPECT_EQ(0, counter.holds);
}

TEST_F(ButtonTest, CheckBoxKnowsItsNewStateInTheClickHandler)
{
    CheckBox box(parent, 0);
    box.ChangeClickHdl(Link(&counter, &Counter::OnClick));
    EXPECT_FALSE(box.GetCheck());
    Press(box);
    Release(box);
    EXPECT_EQ(1, counter.clicks);
    EXPECT_TRUE(counter.checkedInClick);
    EXPECT_TRUE(box.IsChecked()) << "the platform toggled after the handler";
    box.SetCheck(false);
    EXPECT_FALSE(box.IsChecked());
    EXPECT_FALSE(box.GetCheck());
}

TEST_F(ButtonTest, KindsIdentifiersAndRouting)
{
    PushButton a(parent, 0x100), b(parent, 0);
    EXPECT_EQ(GetDlgCtrlID(a.GetHWND()) + 1, GetDlgCtrlID(b.GetHWND())) << "consecutive identifiers";
    EXPECT_GE(GetDlgCtrlID(a.GetHWND()), 10000);
    EXPECT_EQ(32, a.GetWinImpType());
    EXPECT_EQ(&a, GlGetPWinMsgRouter()->LookupControl(a.GetHWND()));
    EXPECT_EQ(parent, a.GetParent());
    LONG const style = GetWindowLongA(a.GetHWND(), GWL_STYLE);
    EXPECT_EQ(BS_OWNERDRAW, style & BS_TYPEMASK) << "without visual styles the library paints the face";

    CheckBox box(parent, 0);
    RadioButton radio(parent, 0x10);
    GroupBox group(parent, 0);
    EXPECT_EQ(BS_AUTOCHECKBOX, GetWindowLongA(box.GetHWND(), GWL_STYLE) & BS_TYPEMASK);
    EXPECT_EQ(BS_AUTORADIOBUTTON, GetWindowLongA(radio.GetHWND(), GWL_STYLE) & BS_TYPEMASK);
    EXPECT_TRUE(GetWindowLongA(radio.GetHWND(), GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ(BS_GROUPBOX, GetWindowLongA(group.GetHWND(), GWL_STYLE) & BS_TYPEMASK);

    RECT r;
    GetWindowRect(a.GetHWND(), &r);
    EXPECT_EQ(GetPKSData()->ScaleX(70), r.right - r.left);
    EXPECT_NE(nullptr, reinterpret_cast<HFONT>(SendMessageA(a.GetHWND(), WM_GETFONT, 0, 0)));
}

TEST_F(ButtonTest, OwnerDrawnFaceIsPaintedThroughTheButton)
{
    class Face : public PushButton
    {
    public:
        using PushButton::PushButton;
        int faces = 0;
        void DrawButtonFace(DRAWITEMSTRUCT *dis) override
        {
            ++faces;
            PushButton::DrawButtonFace(dis);
        }
    };
    parent->SetPosSizePixel(Point(0, 0), Size(200, 100)); // windows are made empty
    parent->Show();
    static int drawItems;
    drawItems = 0;
    GlPushWinProcHook([](HWND, unsigned int m, unsigned __int64, __int64) {
        if (m == WM_DRAWITEM)
            ++drawItems;
        return 0;
    });
    Face f(parent, 0);
    f.SetText(SString("OK"));
    f.Show();
    UpdateWindow(f.GetHWND());
    RedrawWindow(f.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GE(drawItems, 1) << "the platform asked the parent to draw";
    EXPECT_GE(f.faces, 1);
    // The face really reached the screen: the text colour is in it.
    HDC dc = GetDC(f.GetHWND());
    RECT r;
    GetClientRect(f.GetHWND(), &r);
    int ink = 0;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x)
            ink += GetPixel(dc, x, y) == GetSysColor(COLOR_BTNTEXT);
    ReleaseDC(f.GetHWND(), dc);
    EXPECT_GT(ink, 10);
}

TEST_F(ButtonTest, ButtonsLeaveNothingBehind)
{
    {
        // The first press starts the timer engine, which lives until KSExit.
        PushButton warm(parent, 0);
        CheckBox warmBox(parent, 0);
        Press(warm);
        Release(warm);
    }
    auto const heap = kstest::CurrentHeapUsage();
    std::size_t const gdi = kstest::GdiObjectCount();
    std::size_t const windows = kstest::ThreadWindowCount();
    for (int i = 0; i < 30; ++i) {
        PushButton p(parent, 0);
        CheckBox c(parent, 0);
        Press(p);
        Release(p);
    }
    EXPECT_EQ(windows, kstest::ThreadWindowCount());
    EXPECT_EQ(gdi, kstest::GdiObjectCount());
    EXPECT_EQ(heap.blocks, kstest::CurrentHeapUsage().blocks);
}

namespace {
// Ink of the face, column by column, left half against right half.
struct Faces
{
    int left = 0, right = 0, farLeft = 0, farRight = 0;
    std::vector<bool> mask;
};
Faces Ink(HWND h)
{
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT r;
    GetClientRect(h, &r);
    HDC dc = GetDC(h);
    Faces f;
    COLORREF const ink = GetSysColor(COLOR_BTNTEXT);
    for (int y = 4; y < r.bottom - 4; ++y)
        for (int x = 4; x < r.right - 4; ++x) {
            bool const on = GetPixel(dc, x, y) == ink;
            f.mask.push_back(on);
            if (!on)
                continue;
            (x < r.right / 2 ? f.left : f.right)++;
            if (x < r.right / 2 - r.right / 6)
                ++f.farLeft;
            if (x > r.right / 2 + r.right / 6)
                ++f.farRight;
        }
    ReleaseDC(h, dc);
    return f;
}
} // namespace

TEST_F(ButtonTest, DrawButtonsShowTheirSymbols)
{
    parent->SetPosSizePixel(Point(0, 0), Size(400, 100));
    parent->Show();
    std::vector<Faces> faces;
    for (int t = DrawButtonCancel; t <= DrawButtonRightStop; ++t) {
        DrawButton b(parent, static_cast<DrawButtonType>(t));
        EXPECT_EQ(0x40000, b.GetWinImpType());
        b.SetPosSizePixel(Point(10, 10), Size(48, 48));
        b.Show();
        faces.push_back(Ink(b.GetHWND()));
        EXPECT_GT(faces.back().left + faces.back().right, 30) << "symbol " << t;
    }
    EXPECT_GT(faces[DrawButtonLeft].right, faces[DrawButtonLeft].left) << "a left triangle is wide on the right";
    EXPECT_GT(faces[DrawButtonRight].left, faces[DrawButtonRight].right);
    EXPECT_GT(faces[DrawButtonLeftStop].farLeft, faces[DrawButtonLeft].farLeft) << "the bar stands left";
    EXPECT_GT(faces[DrawButtonRightStop].farRight, faces[DrawButtonRight].farRight);
    for (std::size_t a = 0; a < faces.size(); ++a)
        for (std::size_t b = a + 1; b < faces.size(); ++b)
            EXPECT_NE(faces[a].mask, faces[b].mask) << a << " and " << b << " look alike";
}
