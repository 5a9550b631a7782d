// Tab groups: fuzzed among every other docking operation, a layout with
// groups written to element records and applied again, tabs hidden and
// shown by their positions, the close button's road, and groups made and
// dissolved without leaving anything behind. The checker judges every
// layout; what only these tests know (the tab order, the active tab, the
// place a group takes and leaves) is asserted here.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "docking/DataBuffer.h"
#include "docking/DockElement.h"
#include "docking/ZnBaseTabbedPane.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnTabbedPane.h"
#include "tests/support/DockChecker.h"
#include "tests/support/DockHost.h"
#include "tests/support/DockModelCompare.h"
#include "tests/support/DockOperations.h"
#include "tests/support/LeakLoop.h"
#include "tests/support/WindowFixture.h"

namespace {

using kstest::CheckDockLayout;
using Model = std::vector<DockElement *>;

using kstest::OwnedModel;

class DockTabTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
        top->SetPosSizePixel(Point(0, 0), Size(900, 700));
    }
};

// The groups of a manager as the user sees them: each group's tabs by
// internal name in strip order, the active one marked with '*'.
std::vector<std::string> Groups(ZnDockingManager *m)
{
    std::vector<ZnDockablePane *> all;
    m->FillDockablePaneVec(all);
    std::vector<std::string> out;
    for (ZnDockablePane *p : all)
        if (auto *g = dynamic_cast<ZnBaseTabbedPane *>(p)) {
            std::string s;
            for (int i = 0; i < g->GetTabsNum(); ++i)
                s += std::string(i ? "," : "") + (i == g->GetActiveTabIndex() ? "*" : "") +
                     g->GetTab(i)->GetInternalName().GetStr();
            out.push_back(s);
        }
    std::sort(out.begin(), out.end());
    return out;
}

// The table an application keeps of its own panes: the tabbed panes are
// the library's and are not in it.
struct PaneTable : LinkHdl
{
    std::vector<ZnDockablePane *> panes;
    __int64 ToIndex(void *p)
    {
        auto it = std::find(panes.begin(), panes.end(), static_cast<ZnDockablePane *>(p));
        return it == panes.end() ? -1 : it - panes.begin();
    }
    __int64 ToWindow(void *i)
    {
        auto const n = reinterpret_cast<intptr_t>(i);
        return n >= 0 && size_t(n) < panes.size() ? reinterpret_cast<intptr_t>(panes[size_t(n)]) : 0;
    }
};

} // namespace

TEST_F(DockTabTest, FuzzedTabOperationsAmongAllOthersKeepEveryInvariant)
{
    for (unsigned seed = 1; seed <= 6; ++seed) {
        kstest::DockHost h(top, 6);
        for (ZnDockablePane *p : h.world.panes)
            h.world.mgr->DockIntoParent(p, h.world.AnySide(), h.world.Rand(40, 160), true);
        ASSERT_EQ("", kstest::FuzzDocking(h.world, seed, 300)) << "replay with seed " << seed;
        // Mostly tabs, so that groups grow, float, pin and dissolve often.
        ASSERT_EQ("", kstest::FuzzDocking(h.world, seed + 50, 200, +[](kstest::DockOperation const &op) {
                      return kstest::IsTabOperation(op) || std::string(op.name).rfind("dock", 0) == 0 ||
                             std::string(op.name).find("layout") != std::string::npos;
                  })) << "replay with seed " << seed + 50;
    }
}

TEST_F(DockTabTest, ATabbedTargetIsReplacedAtItsPlaceAndTheLastTabTakesThePlaceBack)
{
    kstest::DockHost h(top, 4);
    ZnDockingManager *m = h.Mgr();
    m->DockIntoParent(h.P(0), DockAlignLeft, 200, true);
    m->DockIntoPane(h.P(1), h.P(0), DockAlignBottom, 0);
    CRect const place = h.P(1)->GetLayoutRect();
    ZnPaneDivider *group = h.P(1)->GetDefaultPaneDivider();
    ZnDockablePane *made = nullptr;
    EXPECT_EQ(h.P(2), h.P(2)->AttachToTabWnd(h.P(1), DM_UNKNOWN, true, &made));
    auto *g = dynamic_cast<ZnTabbedPane *>(made);
    ASSERT_TRUE(g) << "the default class makes the group";
    EXPECT_EQ(place, g->GetLayoutRect());
    EXPECT_EQ(group, g->GetDefaultPaneDivider());
    EXPECT_EQ(std::vector<std::string>{"paneB,*paneC"}, Groups(m));
    EXPECT_EQ(SString("Pane C"), g->GetWindowText());
    // Onto a tab: into its group; not active when not asked.
    EXPECT_TRUE(h.P(3)->AttachToTabWnd(h.P(1), DM_UNKNOWN, false));
    EXPECT_EQ(std::vector<std::string>{"paneB,*paneC,paneD"}, Groups(m));
    EXPECT_TRUE(g->SetActiveTab(0));
    EXPECT_EQ(SString("Pane B"), g->GetWindowText());
    EXPECT_FALSE(g->SetActiveTab(3));
    EXPECT_EQ("", CheckDockLayout(*m));
    // A pane that is neither docked nor floating nor a tab takes no tabs.
    h.P(3)->DoClose();
    EXPECT_FALSE(h.P(2)->AttachToTabWnd(h.P(3)));
    EXPECT_EQ(std::vector<std::string>{"*paneB,paneC"}, Groups(m));
    h.P(1)->DoClose();
    EXPECT_TRUE(Groups(m).empty()) << "one tab left: the group dissolves";
    EXPECT_EQ(place, h.P(2)->GetLayoutRect());
    EXPECT_EQ(group, h.P(2)->GetDefaultPaneDivider());
    EXPECT_EQ("", CheckDockLayout(*m));
}

TEST_F(DockTabTest, ALayoutWithGroupsComesBackThroughRecordsWithItsOrderAndActiveTabs)
{
    kstest::DockHost h(top, 7);
    ZnDockingManager *m = h.Mgr();
    m->DockIntoParent(h.P(0), DockAlignLeft, 200, true);
    m->DockIntoPane(h.P(3), h.P(0), DockAlignBottom, 0);
    m->DockIntoParent(h.P(4), DockAlignTop, 120, true);
    m->DockIntoParent(h.P(6), DockAlignRight, 150, true);
    h.P(1)->AttachToTabWnd(h.P(0));
    h.P(2)->AttachToTabWnd(h.P(0));
    h.P(1)->ShowPane(true, false, true); // the middle tab active
    h.P(5)->AttachToTabWnd(h.P(4), DM_UNKNOWN, false);
    h.P(6)->SetAutoHideMode(true, 0);
    std::vector<std::string> const groups = Groups(m);
    ASSERT_EQ((std::vector<std::string>{"*paneE,paneF", "paneA,*paneB,paneC"}), groups);
    ASSERT_EQ("", CheckDockLayout(*m));

    PaneTable table;
    table.panes = h.world.panes;
    Link const toIndex(&table, &PaneTable::ToIndex), toWindow(&table, &PaneTable::ToWindow);
    OwnedModel saved, stored;
    h.Dp()->SaveState(saved.v);
    h.Dp()->SaveState(stored.v);
    DataBuffer b;
    for (DockElement *e : stored.v) {
        e->WindowToIndex(toIndex);
        e->WriteToDataBuffer(b);
    }
    h.Dp()->DockAll();
    EXPECT_TRUE(Groups(m).empty());
    ASSERT_EQ("", CheckDockLayout(*m));

    b.SetPos(0);
    OwnedModel read, now;
    for (size_t i = 0; i < stored.v.size(); ++i) {
        DockElement *e = DockElement::CreateFromDataBuffer(b);
        ASSERT_TRUE(e);
        e->IndexToWindow(toWindow);
        read.v.push_back(e);
    }
    kstest::DockCheckScope scope;
    EXPECT_TRUE(h.Dp()->LoadState(read.v));
    EXPECT_EQ("", scope.FirstFailure());
    EXPECT_EQ(groups, Groups(m));
    EXPECT_TRUE(h.P(6)->IsAutoHideMode());
    h.Dp()->SaveState(now.v);
    EXPECT_EQ("", kstest::CompareDockModels(saved.v, now.v, 1)) << kstest::DockModelStr(saved.v) << "--\n"
                                                                << kstest::DockModelStr(now.v);
}

TEST_F(DockTabTest, AHiddenTabComesBackToItsGroupOrWhereTheGroupWas)
{
    kstest::DockHost h(top, 4);
    ZnDockingManager *m = h.Mgr();
    ZnDockParentWnd *dp = h.Dp();
    m->DockIntoParent(h.P(3), DockAlignTop, 100, true);
    m->DockIntoParent(h.P(0), DockAlignLeft, 200, true);
    h.P(1)->AttachToTabWnd(h.P(0));
    h.P(2)->AttachToTabWnd(h.P(0));
    CRect const place = h.P(0)->GetParentTabbedPane()->GetLayoutRect();
    DockPosition position;
    int const removed = h.removed.calls;
    ASSERT_TRUE(dp->HidePane(h.P(1), position, true));
    EXPECT_EQ(removed + 1, h.removed.calls);
    EXPECT_EQ(std::vector<std::string>{"paneA,*paneC"}, Groups(m));
    EXPECT_EQ(1u, dp->GetHiddenPanes().count(h.P(1)));
    dp->ShowPane(h.P(1), h.P(1)->GetRecentDockPosition());
    EXPECT_EQ(std::vector<std::string>{"paneA,paneC,*paneB"}, Groups(m));
    EXPECT_EQ(0u, dp->GetHiddenPanes().count(h.P(1)));
    EXPECT_EQ("", CheckDockLayout(*m));

    // The group gone, the tab comes back where the group was: tabbed with
    // the pane that took the group's place.
    ASSERT_TRUE(dp->HidePane(h.P(1), position, true));
    ASSERT_TRUE(dp->HidePane(h.P(2), position, true));
    EXPECT_TRUE(Groups(m).empty());
    EXPECT_EQ(place, h.P(0)->GetLayoutRect());
    dp->ShowPane(h.P(1), h.P(1)->GetRecentDockPosition());
    EXPECT_EQ(std::vector<std::string>{"paneA,*paneB"}, Groups(m));
    EXPECT_EQ(place, h.P(1)->GetParentTabbedPane()->GetLayoutRect());
    // Every pane of the group hidden: the last one goes back to the group's
    // side, and the one whose position names it tabs onto it.
    ASSERT_TRUE(dp->HidePane(h.P(0), position, true));
    ASSERT_TRUE(dp->HidePane(h.P(1), position, true));
    dp->ShowPane(h.P(1), h.P(1)->GetRecentDockPosition());
    EXPECT_TRUE(h.P(1)->GetDefaultPaneDivider());
    EXPECT_EQ(DockAlignLeft, h.P(1)->GetCurrentAlignment());
    dp->ShowPane(h.P(2), h.P(2)->GetRecentDockPosition());
    dp->ShowPane(h.P(0), h.P(0)->GetRecentDockPosition());
    EXPECT_EQ(1u, Groups(m).size());
    EXPECT_EQ("", CheckDockLayout(*m));
}

TEST_F(DockTabTest, TheCloseButtonAsksTheOwnerForTheActiveTab)
{
    kstest::DockHost h(top, 3);
    ZnDockingManager *m = h.Mgr();
    m->DockIntoParent(h.P(0), DockAlignLeft, 200, true);
    h.P(1)->AttachToTabWnd(h.P(0));
    h.P(2)->AttachToTabWnd(h.P(0), DM_UNKNOWN, false);
    ZnBaseTabbedPane *g = h.P(0)->GetParentTabbedPane();
    ASSERT_TRUE(g);
    g->OnPressButtons(AFX_HTCLOSE);
    EXPECT_EQ(1, h.close.calls);
    EXPECT_EQ(static_cast<void *>(h.panes[1].get()), h.close.last) << "the active tab's window";
    EXPECT_EQ(std::vector<std::string>{"paneA,*paneB,paneC"}, Groups(m)) << "the owner decides";
}

TEST_F(DockTabTest, MakingAndDissolvingGroupsLeavesNothingBehind)
{
    kstest::DockHost h(top, 4);
    ZnDockingManager *m = h.Mgr();
    m->DockIntoParent(h.P(0), DockAlignLeft, 200, true);
    m->DockIntoParent(h.P(3), DockAlignBottom, 120, true);
    auto cycle = [&](int i) {
        h.P(1)->AttachToTabWnd(h.P(0));
        h.P(2)->AttachToTabWnd(h.P(1), DM_UNKNOWN, i % 2 != 0);
        h.P(1)->GetParentTabbedPane()->SetActiveTab(i % 3);
        h.P(2)->FloatPane(CRect(300, 300, 500, 450), DM_UNKNOWN, true);
        h.P(1)->AttachToTabWnd(h.P(2)); // a floating group
        h.P(1)->GetParentTabbedPane()->AttachToTabWnd(h.P(3)); // the group onto another pane
        m->DockIntoParent(h.P(2), DockAlignRight, 100, true);
        h.P(1)->DoClose();
        m->DockIntoParent(h.P(1), DockAlignTop, 100, true);
        h.P(0)->ShowPane(true, false, false);
        if (!h.P(0)->GetDefaultPaneDivider())
            m->DockIntoParent(h.P(0), DockAlignLeft, 200, true);
        // Emptied mini frames go when their posted check arrives.
        kstest::Pump();
    };
    cycle(0);
    ASSERT_EQ("", CheckDockLayout(*m));
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 10}, cycle));
    EXPECT_EQ("", CheckDockLayout(*m));
}
