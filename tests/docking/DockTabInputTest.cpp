// ks-test: serial
// Tabs by the user's own hand: real mouse input through SendInput clicks
// tabs, drags a caption onto another caption to tab the pane there, drags
// a tab out of its strip (Escape puts it back) and double-clicks a tab to
// float it. The checker judges every layout.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "docking/ZnBaseTabbedPane.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneFrameWnd.h"
#include "mfc/CMFCTabCtrl.h"
#include "tests/support/DockChecker.h"
#include "tests/support/DockHost.h"
#include "tests/support/DockInput.h"
#include "tests/support/WindowFixture.h"

namespace {

using kstest::CheckDockLayout;

class DockTabInputTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
        h = std::make_unique<kstest::DockHost>(top, 3);
        h->host.SetPosSizePixel(Point(0, 0), Size(700, 500));
        Mgr()->DockIntoParent(P(0), CBRS_ALIGN_LEFT, 220, true);
        Mgr()->DockIntoPane(P(1), P(0), CBRS_ALIGN_BOTTOM, 0);
        Mgr()->DockIntoParent(P(2), CBRS_ALIGN_BOTTOM, 120, true);
        ShowTop(Point(20, 20), Size(760, 580));
        ASSERT_EQ("", CheckDockLayout(*Mgr()));
    }
    void TearDown() override
    {
        h.reset();
        WindowFixture::TearDown();
    }
    ZnDockingManager *Mgr() { return h->Mgr(); }
    ZnDockablePane *P(int i) { return h->P(i); }
    // A point on a docked pane's caption, left of its buttons.
    POINT Caption(ZnDockablePane *p)
    {
        RECT wr;
        GetWindowRect(p->GetSafeHwnd(), &wr);
        return {wr.left + 12, wr.top + p->GetCaptionHeight() / 2 + 1};
    }
    // The middle of tab i of a group's strip, on the screen.
    POINT Tab(ZnBaseTabbedPane *g, int i)
    {
        CRect r;
        EXPECT_TRUE(g->GetTabWnd()->GetTabRect(i, r));
        POINT c = r.CenterPoint();
        ClientToScreen(g->GetTabWnd()->GetSafeHwnd(), &c);
        return c;
    }
    POINT FreeSpaceCentre()
    {
        RECT r;
        GetWindowRect(h->canvas.GetHWND(), &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    std::unique_ptr<kstest::DockHost> h;
};

} // namespace

TEST_F(DockTabInputTest, ACaptionDraggedOntoACaptionTabsThePaneThereWithTheOutlineOnTheTarget)
{
    CRect target;
    GetWindowRect(P(0)->GetSafeHwnd(), &target);
    POINT const from = Caption(P(2)), onto = Caption(P(0));
    CRect during;
    kstest::DragMouse(from, {{from.x + 30, from.y - 20}, {onto.x + 20, onto.y}}, false,
                      [&] {
                          // A busy machine may deliver the last move late: the
                          // outline gets up to 3 s to reach the target.
                          for (int i = 0; i < 300 && (during = kstest::DragOutline()) != target; ++i)
                              Sleep(10);
                      });
    EXPECT_EQ(target, during) << "the outline is the target pane";
    ZnBaseTabbedPane *g = P(0)->GetParentTabbedPane();
    ASSERT_TRUE(g);
    EXPECT_EQ(g, P(2)->GetParentTabbedPane());
    EXPECT_EQ(P(2), g->GetActiveTab());
    EXPECT_EQ(target, [&] {
        CRect r;
        GetWindowRect(g->GetSafeHwnd(), &r);
        return r;
    }()) << "the group takes the target's place";
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
}

TEST_F(DockTabInputTest, ClickingATabShowsItsPaneAndTheCaptionTakesItsText)
{
    P(2)->AttachToTabWnd(P(0));
    ZnBaseTabbedPane *g = P(0)->GetParentTabbedPane();
    ASSERT_TRUE(g);
    ASSERT_EQ(P(2), g->GetActiveTab());
    kstest::ClickAt(Tab(g, 0));
    kstest::Pump();
    EXPECT_EQ(P(0), g->GetActiveTab());
    EXPECT_TRUE(IsWindowVisible(P(0)->GetSafeHwnd()));
    EXPECT_FALSE(IsWindowVisible(P(2)->GetSafeHwnd()));
    EXPECT_EQ(SString("Pane A"), g->GetWindowText());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
}

TEST_F(DockTabInputTest, ATabDraggedOutFloatsAndEscapeOrADoubleClickDecides)
{
    P(2)->AttachToTabWnd(P(0));
    ZnBaseTabbedPane *g = P(0)->GetParentTabbedPane();
    ASSERT_TRUE(g);
    POINT const from = Tab(g, 1), mid = FreeSpaceCentre();
    // Escape: back as the same tab beside the same pane (a group of two
    // dissolved when the tab left it, and is made again).
    kstest::DragMouse(from, {{from.x + 30, from.y + 20}, mid}, true);
    g = P(2)->GetParentTabbedPane();
    ASSERT_TRUE(g);
    EXPECT_EQ(g, P(0)->GetParentTabbedPane());
    EXPECT_EQ(1, g->FindTab(P(2)));
    EXPECT_FALSE(P(2)->IsFloating());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
    // Released over the free space: it floats under the mouse and the group
    // of one dissolves into the pane that is left.
    kstest::DragMouse(Tab(g, 1), {{from.x + 30, from.y + 20}, mid});
    ASSERT_TRUE(P(2)->IsFloating());
    EXPECT_TRUE(P(2)->GetParentMiniFrame()->GetFrameRect().PtInRect(mid));
    EXPECT_FALSE(P(0)->GetParentTabbedPane());
    EXPECT_TRUE(P(0)->GetDefaultPaneDivider());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
    // A double-click on a tab floats it too.
    P(1)->AttachToTabWnd(P(0));
    g = P(0)->GetParentTabbedPane();
    ASSERT_TRUE(g);
    kstest::ClickAt(Tab(g, 0), true);
    kstest::Pump();
    EXPECT_TRUE(P(0)->IsFloating());
    EXPECT_FALSE(P(1)->GetParentTabbedPane());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
}
