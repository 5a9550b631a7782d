// ks-test: serial
// Auto-hide by the user's own hand: the pin in the caption, the buttons of
// the bars, the mouse leaving a slid-out pane, and its inner edge, all
// through SendInput. Time-outs are small and the tests wait on conditions.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "docking/DockParentWindow.h"
#include "docking/ZnAutoHideBar.h"
#include "docking/ZnAutoHideButton.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "tests/support/DockChecker.h"
#include "tests/support/WindowFixture.h"

namespace {

using kstest::CheckDockLayout;

using kstest::MoveTo;

void Click(POINT at)
{
    kstest::Send({MoveTo(at)});
    kstest::Send({kstest::Mouse(MOUSEEVENTF_LEFTDOWN), kstest::Mouse(MOUSEEVENTF_LEFTUP)});
}

// Presses at from and releases at to; the rest of the gesture is sent once
// the press has taken the mouse, so that it reaches the pane's own loop.
void Drag(POINT from, POINT to)
{
    kstest::Send({MoveTo(from)});
    DWORD const thread = GetCurrentThreadId();
    std::thread rest([=] {
        GUITHREADINFO gti{};
        gti.cbSize = sizeof gti;
        for (int i = 0; i < 200 && !(GetGUIThreadInfo(thread, &gti) && gti.hwndCapture); ++i)
            Sleep(10);
        INPUT in[2] = {MoveTo(to), kstest::Mouse(MOUSEEVENTF_LEFTUP)};
        SendInput(2, in, sizeof in[0]);
    });
    INPUT down = kstest::Mouse(MOUSEEVENTF_LEFTDOWN);
    SendInput(1, &down, sizeof down);
    kstest::Pump();
    rest.join();
    kstest::Pump();
}

POINT Centre(HWND h)
{
    RECT r;
    GetWindowRect(h, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class DockAutoHideInputTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        ZnDockablePane::m_bDisableAnimation = 1;
        ZnDockablePane::m_nTimeOutBeforeAutoHide = 60;
        MakeTop();
        host = std::make_unique<DockParentWindow>(top, 0);
        canvas = std::make_unique<Window>(host.get(), 0, 0);
        host->SetPosSizePixel(Point(0, 0), Size(700, 500));
        host->Show();
        canvas->Show();
        host->GetPDockParentWnd()->SetPFreeSpaceWnd(canvas->GetPCWnd());
        for (int i = 0; i < 2; ++i) {
            panes.push_back(std::make_unique<Window>(host.get(), 0, 0x400000));
            P(i)->SetInternalName(SString("pane") + char('A' + i));
            P(i)->SetWindowText(i ? "Output" : "Tools");
        }
        Mgr()->DockIntoParent(P(0), CBRS_ALIGN_LEFT, 220, true);
        Mgr()->DockIntoPane(P(1), P(0), CBRS_ALIGN_BOTTOM, 0);
        ShowTop(Point(20, 20), Size(760, 580));
        ASSERT_EQ("", CheckDockLayout(*Mgr()));
    }
    void TearDown() override
    {
        panes.clear();
        canvas.reset();
        host.reset();
        ZnDockablePane::m_bDisableAnimation = 0;
        ZnDockablePane::m_nTimeOutBeforeAutoHide = 700;
        ZnDockablePane::m_nSlideSteps = 12;
        WindowFixture::TearDown();
    }
    ZnDockingManager *Mgr() { return host->GetPDockParentWnd()->GetPDockingManager(); }
    ZnDockablePane *P(int i) { return static_cast<ZnDockablePane *>(panes[size_t(i)]->GetPCWnd()); }
    POINT PinCentre(ZnDockablePane *p)
    {
        RECT wr;
        GetWindowRect(p->GetSafeHwnd(), &wr);
        CRect b = p->FindButtonByHit(HTMAXBUTTON)->GetRect();
        return {wr.left + (b.left + b.right) / 2, wr.top + (b.top + b.bottom) / 2};
    }
    POINT BarButtonCentre(ZnDockablePane *p)
    {
        CRect b = p->GetAutoHideButton()->GetRect();
        POINT c{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
        ClientToScreen(p->GetAutoHideToolBar()->GetSafeHwnd(), &c);
        return c;
    }
    bool WaitFor(std::function<bool()> const &done) { return kstest::PumpUntil(done, 5000); }

    std::unique_ptr<DockParentWindow> host;
    std::unique_ptr<Window> canvas;
    std::vector<std::unique_ptr<Window>> panes;
};

} // namespace

TEST_F(DockAutoHideInputTest, PinSlideOutLeaveSlideBackAndPinBack)
{
    ZnDockablePane *a = P(0);
    CRect const docked = a->GetLayoutRect(), other = P(1)->GetLayoutRect();
    Click(PinCentre(a));
    ASSERT_TRUE(a->IsAutoHideMode());
    EXPECT_FALSE(IsWindowVisible(a->GetSafeHwnd()));
    EXPECT_EQ(CBRS_ALIGN_LEFT, a->GetAutoHideToolBar()->GetCurrentAlignment());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));

    // A press on its bar button slides it out; the mouse leaving it slides
    // it back after the time-out.
    Click(BarButtonCentre(a));
    ASSERT_TRUE(a->IsSlidOut());
    EXPECT_TRUE(IsWindowVisible(a->GetSafeHwnd()));
    EXPECT_EQ(docked.Width(), a->GetLayoutRect().Width()) << "out at the width it had";
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
    kstest::Send({MoveTo(Centre(canvas->GetHWND()))});
    EXPECT_TRUE(WaitFor([a] { return !a->IsSlidOut(); }));
    EXPECT_FALSE(IsWindowVisible(a->GetSafeHwnd()));
    EXPECT_EQ("", CheckDockLayout(*Mgr()));

    // While the pane holds the focus it stays; a press elsewhere lets it go.
    Click(BarButtonCentre(a));
    ASSERT_TRUE(a->IsSlidOut());
    SetFocus(panes[0]->GetHWND());
    kstest::Send({MoveTo(Centre(canvas->GetHWND()))});
    EXPECT_TRUE(a->IsSlidOut());
    SetFocus(canvas->GetHWND());
    EXPECT_TRUE(WaitFor([a] { return !a->IsSlidOut(); }));

    // The pin of a slid-out pane pins it back where it was.
    Click(BarButtonCentre(a));
    ASSERT_TRUE(a->IsSlidOut());
    Click(PinCentre(a));
    EXPECT_FALSE(a->IsAutoHideMode());
    EXPECT_EQ(docked, a->GetLayoutRect());
    EXPECT_EQ(other, P(1)->GetLayoutRect());
    EXPECT_EQ(0, Mgr()->GetAutoHideBarList().GetCount());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
}

TEST_F(DockAutoHideInputTest, TheInnerEdgeOfASlidOutPaneResizesItAndSlidesAnimate)
{
    ZnDockablePane *b = P(1);
    b->ToggleAutoHide();
    b->Slide(true);
    ASSERT_TRUE(b->IsSlidOut());
    int const before = b->GetLayoutRect().Width();
    RECT wr;
    GetWindowRect(b->GetSafeHwnd(), &wr);
    POINT const edge{wr.right - 2, (wr.top + wr.bottom) / 2};
    Drag(edge, {edge.x + 70, edge.y});
    POINT now;
    GetCursorPos(&now);
    int const moved = now.x - edge.x;
    ASSERT_GT(moved, 50) << "the cursor did not travel";
    EXPECT_EQ(before + moved, b->GetLayoutRect().Width());
    EXPECT_EQ(before + moved, b->GetAutoHideSize());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));

    // With animation the slide goes in steps, each one a valid layout.
    kstest::Send({MoveTo(Centre(canvas->GetHWND()))});
    ASSERT_TRUE(WaitFor([b] { return !b->IsSlidOut(); }));
    ZnDockablePane::m_bDisableAnimation = 0;
    ZnDockablePane::m_nSlideSteps = 4;
    kstest::DockCheckScope scope;
    Click(BarButtonCentre(b));
    EXPECT_TRUE(WaitFor([b] { return b->IsSlidOut() && !b->IsSliding(); }));
    EXPECT_GE(scope.Checks(), 4);
    EXPECT_EQ(before + moved, b->GetLayoutRect().Width());
    kstest::Send({MoveTo(Centre(canvas->GetHWND()))});
    EXPECT_TRUE(WaitFor([b] { return !b->IsSlidOut(); }));
    EXPECT_EQ("", scope.FirstFailure());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
}
