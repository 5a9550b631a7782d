// ks-test: serial
// Docking by the user's own hand: real mouse and keyboard input through
// SendInput on divider drags, caption buttons and pane content.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "docking/DockParentWindow.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneContainer.h"
#include "docking/ZnPaneDivider.h"
#include "mfc/CFrameWnd.h"
#include "tests/support/DockChecker.h"
#include "tests/support/LinkCounter.h"
#include "tests/support/WindowFixture.h"

namespace {

using kstest::CheckDockLayout;


INPUT Mouse(DWORD flags, POINT to = {0, 0})
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        // The smallest normalised value that lands on the pixel.
        int const w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        in.mi.dx = LONG((to.x * 65536LL + w - 1) / w);
        in.mi.dy = LONG((to.y * 65536LL + h - 1) / h);
    }
    return in;
}

INPUT Key(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

POINT Centre(HWND h)
{
    RECT r;
    GetWindowRect(h, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Presses at from, then moves to to (pressing Escape there if asked) and
// releases. The platform routes input when it is sent: the rest is sent from
// another thread once the press has taken the mouse, so that it reaches the
// drag even where it leaves the window.
POINT Drag(POINT from, POINT to, bool escape = false)
{
    SetCursorPos(from.x, from.y);
    kstest::Pump();
    DWORD const thread = GetCurrentThreadId();
    std::thread rest([=] {
        GUITHREADINFO gti{};
        gti.cbSize = sizeof gti;
        for (int i = 0; i < 200 && !(GetGUIThreadInfo(thread, &gti) && gti.hwndCapture); ++i)
            Sleep(10);
        std::vector<INPUT> in = {Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, to)};
        if (escape) {
            in.push_back(Key(VK_ESCAPE, false));
            in.push_back(Key(VK_ESCAPE, true));
        }
        in.push_back(Mouse(MOUSEEVENTF_LEFTUP));
        SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
    });
    INPUT down = Mouse(MOUSEEVENTF_LEFTDOWN);
    SendInput(1, &down, sizeof down);
    kstest::Pump();
    rest.join();
    kstest::Pump();
    POINT now;
    GetCursorPos(&now);
    return now;
}

void Click(POINT at)
{
    SetCursorPos(at.x, at.y);
    kstest::Pump();
    INPUT in[2] = {Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP)};
    SendInput(2, in, sizeof in[0]);
    kstest::Pump();
}

class DockInputTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
        host = std::make_unique<DockParentWindow>(top, 0);
        canvas = std::make_unique<Window>(host.get(), 0, 0);
        host->SetPosSizePixel(Point(0, 0), Size(700, 500));
        host->Show();
        canvas->Show();
        ZnDockParentWnd *dp = host->GetPDockParentWnd();
        dp->SetPFreeSpaceWnd(canvas->GetPCWnd());
        DockParentCallBacks cb;
        cb.aLayoutChangeHdl = layout.GetLink();
        cb.aBeginResizesHdl = begin.GetLink();
        cb.aPostCloseHdl = close.GetLink();
        dp->SetCallBacks(cb);
        for (int i = 0; i < 2; ++i) {
            panes.push_back(std::make_unique<Window>(host.get(), 0, 0x400000));
            P(i)->SetInternalName(SString("pane") + char('A' + i));
        }
        Mgr()->DockIntoParent(P(0), CBRS_ALIGN_LEFT, 250, true);
        Mgr()->DockIntoPane(P(1), P(0), CBRS_ALIGN_BOTTOM, 0);
        ShowTop(Point(20, 20), Size(760, 580));
        ASSERT_EQ("", CheckDockLayout(*Mgr()));
        layout.calls = begin.calls = 0;
    }
    void TearDown() override
    {
        panes.clear();
        canvas.reset();
        host.reset();
        WindowFixture::TearDown();
    }
    ZnDockingManager *Mgr() { return host->GetPDockParentWnd()->GetPDockingManager(); }
    ZnDockablePane *P(int i) { return static_cast<ZnDockablePane *>(panes[size_t(i)]->GetPCWnd()); }
    ZnPaneDivider *Inner()
    {
        int isLeft;
        return P(0)->GetDefaultPaneDivider()->FindPaneContainer(P(0), isLeft)->GetPaneDivider();
    }
    POINT ButtonCentre(ZnDockablePane *p, unsigned hit)
    {
        RECT wr;
        GetWindowRect(p->GetSafeHwnd(), &wr);
        CRect b = p->FindButtonByHit(hit)->GetRect();
        return {wr.left + (b.left + b.right) / 2, wr.top + (b.top + b.bottom) / 2};
    }

    std::unique_ptr<DockParentWindow> host;
    std::unique_ptr<Window> canvas;
    std::vector<std::unique_ptr<Window>> panes;
    kstest::LinkCounter layout, begin;
    kstest::LinkRecorder close;
};

} // namespace

TEST_F(DockInputTest, DraggingDividersResizesBothSidesAndStopsAtMinimumSizes)
{
    ZnPaneDivider *group = P(0)->GetDefaultPaneDivider();
    int const paneW = P(0)->GetLayoutRect().Width(), freeW = Mgr()->GetClientAreaBounds().Width();
    POINT const from = Centre(group->GetSafeHwnd());
    POINT const to = Drag(from, {from.x + 80, from.y});
    int const moved = to.x - from.x;
    ASSERT_GT(moved, 60) << "the cursor did not travel";
    EXPECT_EQ(paneW + moved, P(0)->GetLayoutRect().Width());
    EXPECT_EQ(freeW - moved, Mgr()->GetClientAreaBounds().Width());
    EXPECT_EQ(1, layout.calls) << "one drag, one notice";
    EXPECT_EQ(1, begin.calls);
    EXPECT_EQ("", CheckDockLayout(*Mgr()));

    // Far down: the lower pane keeps its minimum, the upper one takes the rest.
    POINT const f2 = Centre(Inner()->GetSafeHwnd());
    Drag(f2, {f2.x, f2.y + 2000});
    CSize min;
    P(1)->GetMinSize(min);
    EXPECT_EQ(min.cy, P(1)->GetLayoutRect().Height());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
}

TEST_F(DockInputTest, EscapeCancelsADragAndAnOutlineDragAppliesOnRelease)
{
    CRect const before = P(0)->GetLayoutRect();
    POINT const from = Centre(Inner()->GetSafeHwnd());
    Drag(from, {from.x, from.y - 60}, true);
    EXPECT_EQ(before, P(0)->GetLayoutRect());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));

    ZnPaneDivider::m_bLiveResize = false;
    POINT const to = Drag(from, {from.x, from.y - 60});
    ZnPaneDivider::m_bLiveResize = true;
    EXPECT_EQ(before.Height() + (to.y - from.y), P(0)->GetLayoutRect().Height());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
}

TEST_F(DockInputTest, TheCloseButtonAsksTheOwnerOnlyForPanesWithAWindow)
{
    Click(ButtonCentre(P(0), AFX_HTCLOSE));
    EXPECT_EQ(1, close.calls);
    EXPECT_EQ(panes[0].get(), close.last);
    EXPECT_TRUE(P(0)->IsPaneVisible());
    EXPECT_EQ(0, layout.calls);
    P(1)->SetDockedWindow(nullptr);
    Click(ButtonCentre(P(1), AFX_HTCLOSE));
    EXPECT_EQ(1, close.calls);
    EXPECT_TRUE(P(1)->IsPaneVisible());
    P(1)->SetDockedWindow(panes[1].get());
    // A press that leaves the button before the release presses nothing.
    POINT const b = ButtonCentre(P(0), AFX_HTCLOSE);
    Drag(b, {b.x - 100, b.y + 100});
    EXPECT_EQ(1, close.calls);
}

TEST_F(DockInputTest, APressInsideAPaneActivatesItsCaption)
{
    EXPECT_FALSE(P(0)->IsActive());
    Click(Centre(P(1)->GetSafeHwnd()));
    EXPECT_TRUE(P(1)->IsActive());
    EXPECT_FALSE(P(0)->IsActive());
    RECT wr;
    GetWindowRect(P(0)->GetSafeHwnd(), &wr);
    Click({wr.left + 10, wr.top + 4}); // on the caption, left of the buttons
    EXPECT_TRUE(P(0)->IsActive());
    EXPECT_FALSE(P(1)->IsActive());
}

TEST_F(DockInputTest, CaptionButtonsLightUpUnderTheMouseAndAFramePaneClosesItself)
{
    POINT const b = ButtonCentre(P(0), AFX_HTCLOSE);
    INPUT in = Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, b);
    SendInput(1, &in, sizeof in);
    kstest::Pump();
    EXPECT_TRUE(P(0)->FindButtonByHit(AFX_HTCLOSE)->m_bFocused);
    EXPECT_FALSE(P(0)->FindButtonByHit(AFX_HTMENU)->m_bFocused);
    POINT const away = Centre(canvas->GetHWND());
    in = Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, away);
    SendInput(1, &in, sizeof in);
    // The platform tells of the leave on its tracking timer.
    kstest::PumpUntil([this] { return !P(0)->FindButtonByHit(AFX_HTCLOSE)->m_bFocused; }, 2000);
    EXPECT_FALSE(P(0)->FindButtonByHit(AFX_HTCLOSE)->m_bFocused);

    // A pane of a plain frame: its close button hides it.
    CFrameWnd *frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(60, 60, 560, 460)));
    ZnDockingManager mgr;
    mgr.Create(frame);
    frame->EnableDocking(CBRS_ALIGN_ANY);
    ZnDockablePane pane;
    ASSERT_TRUE(pane.Create("Output", frame, CRect(0, 0, 200, 150), true, 101, WS_CHILD | WS_VISIBLE));
    mgr.DockPane(&pane, ZnDockingManager::AFX_IDW_DOCKBAR_RIGHT);
    frame->ShowWindow(SW_SHOW);
    SetForegroundWindow(frame->GetSafeHwnd());
    kstest::Pump();
    ASSERT_EQ("", CheckDockLayout(mgr));
    Click(ButtonCentre(&pane, AFX_HTCLOSE));
    EXPECT_FALSE(pane.IsPaneVisible());
    EXPECT_FALSE(IsWindowVisible(pane.GetSafeHwnd()));
    EXPECT_EQ("", CheckDockLayout(mgr));
    frame->DestroyWindow();
}

TEST_F(DockInputTest, ThePanesMenuPopsUpAndTheChosenPaneTogglesByKeyboard)
{
    // The manager's panes menu, driven by the keyboard once it is up.
    Mgr()->EnablePaneContextMenu(true);
    std::thread keys([] {
        for (int i = 0; i < 300 && !FindWindowA("#32768", nullptr); ++i)
            Sleep(10);
        INPUT in[4] = {Key(VK_DOWN, false), Key(VK_DOWN, true), Key(VK_RETURN, false), Key(VK_RETURN, true)};
        SendInput(4, in, sizeof in[0]);
    });
    EXPECT_TRUE(Mgr()->OnPaneContextMenu(CPoint(100, 100)));
    keys.join();
    kstest::Pump();
    Mgr()->EnablePaneContextMenu(false);
    // The first item is the first pane: it was shown, now it is hidden.
    EXPECT_FALSE(P(0)->IsPaneVisible());
    EXPECT_TRUE(P(1)->IsPaneVisible());
    EXPECT_EQ(1, layout.calls);
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
}
