// Auto-hide without input: pinning off and back gives every pane its place
// and size again, a pinned group collapses and comes back whole, a slide
// reaches the remembered size, closing and the dock parent's calls leave
// auto-hide first, the fuzzer mixes pins and slides with everything else on
// real windows, and pin-slide-unpin cycles leave nothing behind.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "docking/DockGeometry.h"
#include "docking/DockParentWindow.h"
#include "docking/ZnAutoHideBar.h"
#include "docking/ZnAutoHideDockSite.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneContainer.h"
#include "docking/ZnPaneDivider.h"
#include "frame/TimerManager.h"
#include "tests/support/DockChecker.h"
#include "tests/support/DockOperations.h"
#include "tests/support/LinkCounter.h"
#include "tests/support/DockHost.h"
#include "tests/support/WindowFixture.h"

namespace {

using kstest::CheckDockLayout;

struct Host : kstest::DockHost
{
    using DockHost::DockHost;

    // Three groups: A over (B beside C) on the left, D on the bottom, E on the right.
    void Build()
    {
        Mgr()->DockIntoParent(P(0), CBRS_ALIGN_LEFT, 220, true);
        Mgr()->DockIntoPane(P(1), P(0), CBRS_ALIGN_BOTTOM, 200);
        Mgr()->DockIntoPane(P(2), P(1), CBRS_ALIGN_RIGHT, 0);
        Mgr()->DockIntoParent(P(3), CBRS_ALIGN_BOTTOM, 120, true);
        Mgr()->DockIntoParent(P(4), CBRS_ALIGN_RIGHT, 150, true);
    }
    // Where everything lies: every pane's and divider's rectangle, group
    // lengths and split percentages.
    std::vector<long> Snapshot()
    {
        std::vector<long> v;
        auto put = [&v](CRect const &r) { v.insert(v.end(), {r.left, r.top, r.right, r.bottom}); };
        for (ZnPaneDivider *g : Mgr()->GetDefaultDividers()) {
            v.push_back(g->GetGroupLength());
            put(g->GetLayoutRect());
        }
        for (int i = 0; i < int(panes.size()); ++i) {
            put(P(i)->GetLayoutRect());
            int isLeft = 0;
            if (ZnPaneDivider *g = P(i)->GetDefaultPaneDivider())
                if (ZnPaneContainer *c = g->FindPaneContainer(P(i), isLeft))
                    v.push_back(long(c->GetPercent() * 1e6));
        }
        put(Mgr()->GetClientAreaBounds());
        return v;
    }
};

class DockAutoHideTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
        top->SetPosSizePixel(Point(0, 0), Size(900, 700));
        ZnDockablePane::m_bDisableAnimation = 1;
    }
    void TearDown() override
    {
        ZnDockablePane::m_bDisableAnimation = 0;
        ZnDockablePane::m_bHideInAutoHideMode = 0;
        ZnDockablePane::m_nSlideSteps = 12;
        WindowFixture::TearDown();
    }
};

} // namespace

TEST_F(DockAutoHideTest, PinningOffAndBackGivesEveryPaneItsPlaceAndSize)
{
    Host h(top, 5);
    h.Build();
    ASSERT_EQ("", CheckDockLayout(*h.Mgr()));
    for (bool group : {false, true})
        for (int i = 0; i < 5; ++i) {
            ZnDockablePane *p = h.P(i);
            std::vector<long> const before = h.Snapshot();
            unsigned long const side = p->GetCurrentAlignment();
            CObList mates;
            p->GetDefaultPaneDivider()->GetPanes(mates);
            int const across = DockGeometry::Extent(p->GetLayoutRect(), DockGeometry::IsHorzAxis(side));
            p->EnableAutohideAll(group);
            p->ToggleAutoHide();
            ASSERT_EQ("", CheckDockLayout(*h.Mgr())) << "pane " << i << " group " << group;
            ASSERT_TRUE(p->IsAutoHideMode());
            ZnAutoHideBar *bar = p->GetAutoHideToolBar();
            EXPECT_EQ(side, bar->GetCurrentAlignment());
            EXPECT_EQ(group ? mates.GetCount() : 1, bar->GetCount());
            EXPECT_EQ(ZnAutoHideBar::GetBarThickness(),
                      DockGeometry::Extent(h.Mgr()->FindAutoHideDockSite(side)->GetLayoutRect(),
                                           DockGeometry::IsHorzAxis(side)));
            // Out at the size it had, as far as the site allows.
            p->Slide(true);
            ASSERT_EQ("", CheckDockLayout(*h.Mgr()));
            EXPECT_EQ(across, DockGeometry::Extent(p->GetLayoutRect(), DockGeometry::IsHorzAxis(side)));
            p->Slide(false);
            ASSERT_EQ("", CheckDockLayout(*h.Mgr()));
            p->ToggleAutoHide();
            ASSERT_EQ("", CheckDockLayout(*h.Mgr()));
            EXPECT_EQ(before, h.Snapshot()) << "pane " << i << " group " << group;
            EXPECT_EQ(0, h.Mgr()->GetAutoHideBarList().GetCount()) << "empty bars go";
            p->EnableAutohideAll(false);
        }
    // Two panes pinned alone on one side share the strip, each with a bar.
    h.P(0)->ToggleAutoHide();
    h.P(1)->ToggleAutoHide();
    EXPECT_NE(h.P(0)->GetAutoHideToolBar(), h.P(1)->GetAutoHideToolBar());
    EXPECT_EQ(2u, h.Mgr()->FindAutoHideDockSite(CBRS_ALIGN_LEFT)->GetAutoHideBars().size());
    // One out at a time.
    h.P(0)->Slide(true);
    h.P(1)->Slide(true);
    EXPECT_FALSE(h.P(0)->IsSlidOut());
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
    // A pane docked elsewhere while pinned leaves its bar and its old place.
    h.Mgr()->DockIntoParent(h.P(1), CBRS_ALIGN_TOP, 90, true);
    EXPECT_FALSE(h.P(1)->IsAutoHideMode());
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
    // Refused: a pane that is not docked, or does not allow auto-hide.
    EXPECT_FALSE(h.P(0)->SetAutoHideMode(true, CBRS_ALIGN_LEFT));
    h.P(3)->SetControlBarStyle(AFX_CBRS_CLOSE | AFX_CBRS_RESIZE);
    EXPECT_FALSE(h.P(3)->SetAutoHideMode(true, 0));
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
}

TEST_F(DockAutoHideTest, ClosingShowingAndLayoutCapturesLeaveAutoHideFirst)
{
    Host h(top, 5);
    h.Build();
    std::vector<long> const before = h.Snapshot();
    // DoClose: out of auto-hide, then hidden in its old place.
    h.P(3)->ToggleAutoHide();
    h.P(3)->Slide(true);
    h.layout.calls = 0;
    h.P(3)->DoClose();
    EXPECT_FALSE(h.P(3)->IsAutoHideMode());
    EXPECT_FALSE(h.P(3)->IsPaneVisible());
    EXPECT_EQ(1, h.layout.calls) << "one close, one notice";
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
    h.P(3)->ShowPane(true, false, true);
    EXPECT_EQ(before, h.Snapshot());
    // The close button of a pinned pane: out of auto-hide, then the owner.
    h.P(4)->ToggleAutoHide();
    h.Dp()->PostClose(h.P(4));
    EXPECT_EQ(1, h.close.calls);
    EXPECT_FALSE(h.P(4)->IsAutoHideMode());
    // The dock parent shows a pinned pane by docking it back.
    h.P(1)->ToggleAutoHide();
    h.layout.calls = 0;
    EXPECT_TRUE(h.Dp()->ShowAutoHiddenPane(h.P(1)));
    EXPECT_FALSE(h.P(1)->IsAutoHideMode());
    EXPECT_EQ(1, h.layout.calls);
    EXPECT_FALSE(h.Dp()->ShowAutoHiddenPane(h.P(1)));
    EXPECT_EQ(before, h.Snapshot());
    // A capture takes every pane out and puts them back afterwards.
    h.P(0)->EnableAutohideAll(true);
    h.P(0)->ToggleAutoHide(); // A, B and C
    h.P(4)->ToggleAutoHide();
    h.P(4)->Slide(true);
    std::vector<ZnDockablePane *> const out = h.Dp()->UnAutoHideAllPanes();
    EXPECT_EQ(4u, out.size());
    EXPECT_EQ(before, h.Snapshot());
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
    for (ZnDockablePane *p : out)
        p->AutoHideFromExtern();
    for (ZnDockablePane *p : out)
        EXPECT_TRUE(p->IsAutoHideMode());
    EXPECT_EQ(CBRS_ALIGN_RIGHT, h.P(4)->GetAutoHideToolBar()->GetCurrentAlignment());
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
    EXPECT_TRUE(h.Dp()->UnAutoHideAllPanes().size() == 4 && h.Dp()->UnAutoHideAllPanes().empty());
    // Hidden in auto-hide mode: pinned still, its button gone from the bar,
    // and so the strip; shown again it slides out. A capture keeps it so.
    ZnDockablePane::m_bHideInAutoHideMode = 1;
    ZnDockablePane *c = h.P(2);
    c->ToggleAutoHide(); // pinned alone: A and B are back on the left already
    c->ShowPane(false, false, false);
    EXPECT_TRUE(c->IsAutoHideMode());
    EXPECT_FALSE(c->IsPaneVisible());
    EXPECT_TRUE(h.Mgr()->FindAutoHideDockSite(CBRS_ALIGN_LEFT)->GetLayoutRect().IsRectEmpty());
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
    c->Slide(true);
    EXPECT_FALSE(c->IsSlidOut()) << "no button, no slide";
    c->ShowPane(true, false, true);
    EXPECT_TRUE(c->IsSlidOut());
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
    c->ShowPane(false, false, false);
    EXPECT_EQ(1u, h.Dp()->UnAutoHideAllPanes().size());
    EXPECT_FALSE(c->IsPaneVisible());
    c->AutoHideFromExtern();
    EXPECT_TRUE(c->IsAutoHideMode() && !c->IsPaneVisible());
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
    ZnDockablePane::m_bHideInAutoHideMode = 0;
    c->DoClose();
    EXPECT_FALSE(c->IsAutoHideMode());
    c->ShowPane(true, false, true);
    EXPECT_EQ(before, h.Snapshot());
    // AddPane with the auto-hide flag pins a docked pane.
    EXPECT_TRUE(h.Mgr()->AddPane(h.P(3), true, true));
    EXPECT_TRUE(h.P(3)->IsAutoHideMode());
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
}

TEST_F(DockAutoHideTest, APinnedPaneThatGoesTakesItsButtonAndItsPlaceAlong)
{
    Host h(top, 3);
    h.Mgr()->DockIntoParent(h.P(0), CBRS_ALIGN_RIGHT, 200, true);
    h.Mgr()->DockIntoPane(h.P(1), h.P(0), CBRS_ALIGN_BOTTOM, 0);
    h.Mgr()->DockIntoParent(h.P(2), CBRS_ALIGN_TOP, 80, true);
    h.P(0)->EnableAutohideAll(true);
    h.P(0)->ToggleAutoHide();
    h.P(1)->Slide(true);
    ASSERT_EQ(2, h.P(0)->GetAutoHideToolBar()->GetCount());
    h.panes[1].reset(); // the slid-out one
    EXPECT_EQ(1, h.P(0)->GetAutoHideToolBar()->GetCount());
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
    h.panes[0].reset();
    EXPECT_EQ(0, h.Mgr()->GetAutoHideBarList().GetCount());
    EXPECT_EQ(1u, h.Mgr()->GetDefaultDividers().size()) << "the emptied group went with its placeholders";
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
}

TEST_F(DockAutoHideTest, AManagerThatGoesFirstLeavesItsPinnedPanesWhole)
{
    // Window-free: panes that outlive their manager, as a frame's do.
    CWnd site;
    ZnDockablePane a, b;
    a.SetInternalName(SString("a"));
    b.SetInternalName(SString("b"));
    auto mgr = std::make_unique<ZnDockingManager>();
    mgr->Create(&site);
    mgr->SetDockSiteRect(CRect(0, 0, 600, 400));
    mgr->DockIntoParent(&a, CBRS_ALIGN_LEFT, 150, true);
    mgr->DockIntoPane(&b, &a, CBRS_ALIGN_BOTTOM, 0);
    a.ToggleAutoHide();
    a.Slide(true);
    std::vector<ZnDockablePane *> all;
    mgr->FillDockablePaneVec(all);
    EXPECT_EQ(2u, all.size()) << "placeholders are no panes to callers";
    ASSERT_EQ("", CheckDockLayout(*mgr));
    mgr.reset();
    EXPECT_FALSE(a.IsAutoHideMode());
    EXPECT_EQ(nullptr, a.GetDockingManager());
    EXPECT_EQ(nullptr, b.GetDefaultPaneDivider());
}

TEST_F(DockAutoHideTest, TheCheckerCatchesBrokenAutoHideStates)
{
    Host h(top, 2);
    h.Mgr()->DockIntoParent(h.P(0), CBRS_ALIGN_LEFT, 200, true);
    h.Mgr()->DockIntoParent(h.P(1), CBRS_ALIGN_TOP, 100, true);
    h.P(0)->ToggleAutoHide();
    h.P(0)->Slide(true);
    ASSERT_EQ("", CheckDockLayout(*h.Mgr()));
    // A slid-out pane off its edge.
    CRect const was = h.P(0)->GetLayoutRect();
    CRect moved = was;
    moved.OffsetRect(3, 0);
    h.P(0)->SetLayoutRect(moved);
    EXPECT_NE("", CheckDockLayout(*h.Mgr()));
    h.P(0)->SetLayoutRect(was);
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
    // A second button on another bar.
    ZnAutoHideBar *first = h.P(0)->GetAutoHideToolBar();
    ZnAutoHideBar *second = h.Mgr()->AutoHidePane(h.P(0), nullptr);
    std::string const e = CheckDockLayout(*h.Mgr());
    EXPECT_NE(std::string::npos, e.find("'paneA'")) << e;
    second->RemoveAutoHideWindow(h.P(0));
    h.Mgr()->RemoveAutoHideBar(second);
    h.P(0)->SetAutoHideParents(first, first->FindButton(h.P(0)));
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
}

TEST_F(DockAutoHideTest, FuzzedPinsAndSlidesOnRealWindows)
{
    int pinnedAtEnd = 0;
    for (unsigned seed : {7u, 8u, 9u, 10u, 11u, 12u}) {
        Host h(top, 6);
        ASSERT_EQ("", kstest::FuzzDocking(h.world, seed, 300)) << "replay with seed " << seed;
        for (int i = 0; i < 6; ++i)
            pinnedAtEnd += h.P(i)->IsAutoHideMode();
    }
    EXPECT_GT(pinnedAtEnd, 0) << "the operations reach auto-hide";
}

TEST_F(DockAutoHideTest, PinSlideUnpinCyclesLeaveNothingBehind)
{
    // The slides run on the timer engine here, as a user sees them.
    ZnDockablePane::m_bDisableAnimation = 0;
    ZnDockablePane::m_nSlideSteps = 3;
    Host h(top, 3);
    h.Mgr()->DockIntoParent(h.P(0), CBRS_ALIGN_LEFT, 200, true);
    h.Mgr()->DockIntoPane(h.P(1), h.P(0), CBRS_ALIGN_BOTTOM, 0);
    h.Mgr()->DockIntoParent(h.P(2), CBRS_ALIGN_BOTTOM, 100, true);
    // The engine starts with the first timer: the count after the first
    // cycle is the one every later cycle must come back to.
    long timers = -1;
    int stuck = 0;
    auto cycle = [&](int i) {
        ZnDockablePane *p = h.P(i % 3);
        p->EnableAutohideAll(i % 2 == 0);
        p->ToggleAutoHide();
        p->Slide(true);
        stuck += !kstest::PumpUntil([p] { return p->IsSlidOut() && !p->IsSliding(); }, 5000);
        p->Slide(false);
        stuck += !kstest::PumpUntil([p] { return !p->IsSlidOut(); }, 5000);
        p->ToggleAutoHide();
        TimerManager const *tm = TimerManager::GetTimerManager();
        long const now = tm ? long(tm->GetTimerCount()) : 0;
        if (timers < 0)
            timers = now;
        stuck += now != timers;
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 6}, cycle));
    EXPECT_EQ(0, stuck) << "a slide that never arrived, or a timer left running";
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
}
