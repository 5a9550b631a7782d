// The docking engine's arithmetic without windows: a manager on a site that
// is only a rectangle, panes that are only objects. The checker judges every
// layout; the cases here add what it cannot know (the lengths asked for).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "docking/DockGeometry.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneContainer.h"
#include "docking/ZnPaneDivider.h"
#include "mfc/CFrameWnd.h"
#include "tests/support/DockChecker.h"
#include "tests/support/DockOperations.h"

namespace {

using kstest::CheckDockLayout;

struct Site
{
    CWnd wnd; // no window: the manager measures the rectangle below
    ZnDockingManager mgr;
    std::vector<std::unique_ptr<ZnDockablePane>> owned;
    kstest::DockWorld world;

    explicit Site(int nPanes, int cx = 800, int cy = 600)
    {
        mgr.Create(&wnd);
        mgr.SetDockSiteRect(CRect(0, 0, cx, cy));
        for (int i = 0; i < nPanes; ++i) {
            owned.push_back(std::make_unique<ZnDockablePane>());
            owned.back()->SetInternalName(SString("p") + char('A' + i));
            world.panes.push_back(owned.back().get());
        }
        world.mgr = &mgr;
        world.resize = [this](int x, int y) { mgr.SetDockSiteRect(CRect(0, 0, x, y)); };
    }
    ~Site()
    {
        // Panes leave before the manager, as a frame's children do.
        owned.clear();
    }
    ZnDockablePane *P(int i) { return owned[size_t(i)].get(); }
};

int Along(CRect const &r, unsigned long side)
{
    return DockGeometry::Extent(r, DockGeometry::IsHorzAxis(side));
}

unsigned long const kSides[] = {CBRS_ALIGN_LEFT, CBRS_ALIGN_TOP, CBRS_ALIGN_RIGHT, CBRS_ALIGN_BOTTOM};

} // namespace

// A seed the fuzzer ever fails on is added here, with what it found, and
// replayed in a small site as well as in the big one.
static std::vector<unsigned> const kRegressionSeeds = {};

TEST(DockingEngineTest, FuzzedOperationsKeepEveryInvariant)
{
    // 10^4 operations in 20 worlds of 8 panes; every layout checked.
    for (unsigned seed = 1; seed <= 20; ++seed) {
        Site s(8);
        std::string const e = kstest::FuzzDocking(s.world, seed, 500);
        ASSERT_EQ("", e) << "replay with seed " << seed;
    }
    for (unsigned seed : kRegressionSeeds) {
        Site big(8), small(5, 300, 200);
        EXPECT_EQ("", kstest::FuzzDocking(big.world, seed, 500));
        EXPECT_EQ("", kstest::FuzzDocking(small.world, seed, 500));
    }
}

TEST(DockingEngineTest, TheCheckerCatchesPlantedOverlapsAndGaps)
{
    Site s(3);
    s.mgr.DockIntoParent(s.P(0), CBRS_ALIGN_LEFT, 200, true);
    s.mgr.DockIntoPane(s.P(1), s.P(0), CBRS_ALIGN_BOTTOM, 0);
    s.mgr.DockIntoParent(s.P(2), CBRS_ALIGN_TOP, 100, true);
    ASSERT_EQ("", CheckDockLayout(s.mgr));

    CRect const was = s.P(1)->GetLayoutRect();
    CRect grown = was;
    grown.top -= 2; // into the divider above it
    s.P(1)->SetLayoutRect(grown);
    std::string const overlap = CheckDockLayout(s.mgr);
    EXPECT_NE(std::string::npos, overlap.find("overlaps")) << overlap;
    EXPECT_NE(std::string::npos, overlap.find("'pB'")) << overlap;

    CRect shrunk = was;
    shrunk.bottom -= 3;
    s.P(1)->SetLayoutRect(shrunk);
    EXPECT_NE(std::string::npos, CheckDockLayout(s.mgr).find("gap"));
    s.P(1)->SetLayoutRect(was);
    EXPECT_EQ("", CheckDockLayout(s.mgr));
}

TEST(DockingEngineTest, DockIntoParentGivesTheLengthAskedForClampedToTheClientArea)
{
    for (unsigned long side : kSides)
        for (int len : {0, 1, 37, 250, 430, 10000}) {
            Site s(2, 700, 500);
            s.mgr.DockIntoParent(s.P(1), side == CBRS_ALIGN_LEFT ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT, 80, true);
            CRect const bounds = s.mgr.GetClientAreaBounds();
            s.mgr.DockIntoParent(s.P(0), side, len, true);
            ASSERT_EQ("", CheckDockLayout(s.mgr));
            ZnPaneDivider *g = s.P(0)->GetDefaultPaneDivider();
            ASSERT_NE(nullptr, g);
            int const room = Along(bounds, side);
            int const asked = len == 0 ? 200 : std::min(len + 1, room - 40);
            EXPECT_EQ(asked, g->GetGroupLength()) << "side " << side << " len " << len;
            // What shows leaves the client area its minimum of 60.
            int const shown = std::min(asked, room - g->GetWidth() - 60);
            EXPECT_EQ(shown, Along(s.P(0)->GetLayoutRect(), side)) << "side " << side << " len " << len;
            EXPECT_EQ(side, s.P(0)->GetCurrentAlignment());
        }
}

TEST(DockingEngineTest, DockIntoPaneSplitsTheTargetOnTheSideAskedFor)
{
    for (unsigned long group : kSides)
        for (unsigned long side : kSides) {
            Site s(3);
            s.mgr.DockIntoParent(s.P(0), group, 300, true);
            CRect const before = s.P(0)->GetLayoutRect();
            ASSERT_TRUE(s.mgr.DockIntoPane(s.P(1), s.P(0), side, 0));
            ASSERT_EQ("", CheckDockLayout(s.mgr));
            CRect const a = s.P(1)->GetLayoutRect(), t = s.P(0)->GetLayoutRect();
            CRect both;
            ::UnionRect(&both, &a, &t);
            EXPECT_TRUE(::EqualRect(&both, &before) || both.Width() * both.Height() < before.Width() * before.Height())
                << "the split stays inside the target's old place";
            bool const ok = side == CBRS_ALIGN_LEFT ? a.right <= t.left
                            : side == CBRS_ALIGN_RIGHT ? a.left >= t.right
                            : side == CBRS_ALIGN_TOP   ? a.bottom <= t.top
                                                       : a.top >= t.bottom;
            EXPECT_TRUE(ok) << "group " << group << " side " << side;
            unsigned long nb = 0;
            EXPECT_EQ(s.P(0), s.P(1)->GetDirectNeighbour(nb));
            unsigned long const opposite = side == CBRS_ALIGN_LEFT    ? CBRS_ALIGN_RIGHT
                                           : side == CBRS_ALIGN_RIGHT ? CBRS_ALIGN_LEFT
                                           : side == CBRS_ALIGN_TOP   ? CBRS_ALIGN_BOTTOM
                                                                      : CBRS_ALIGN_TOP;
            EXPECT_EQ(opposite, nb);
            // A refused target changes nothing.
            EXPECT_FALSE(s.mgr.DockIntoPane(s.P(2), s.P(2), side, 0));
            EXPECT_FALSE(s.mgr.DockIntoPane(s.P(1), s.P(2), side, 0));
            EXPECT_EQ(s.P(0), s.P(1)->GetDirectNeighbour(nb));
        }
}

TEST(DockingEngineTest, SetSizeInContainerGivesTheExactLength)
{
    Site s(3);
    EXPECT_FALSE(s.P(0)->SetSizeInContainer(50)) << "not docked";
    s.mgr.DockIntoParent(s.P(0), CBRS_ALIGN_LEFT, 300, true);
    CRect const alone = s.P(0)->GetLayoutRect();
    EXPECT_FALSE(s.P(0)->SetSizeInContainer(50)) << "alone in its group: no divider";
    EXPECT_EQ(alone, s.P(0)->GetLayoutRect());
    s.mgr.DockIntoPane(s.P(1), s.P(0), CBRS_ALIGN_BOTTOM, 0);
    s.mgr.DockIntoPane(s.P(2), s.P(1), CBRS_ALIGN_RIGHT, 0);
    for (int len : {80, 99, 150, 333}) {
        // Beside a horizontal divider the pane gets len + 1 rows, beside a
        // vertical one len columns.
        ASSERT_TRUE(s.P(0)->SetSizeInContainer(len));
        EXPECT_EQ(len + 1, s.P(0)->GetLayoutRect().Height());
        ASSERT_TRUE(s.P(1)->SetSizeInContainer(len / 2));
        EXPECT_EQ(len / 2, s.P(1)->GetLayoutRect().Width());
        ASSERT_TRUE(s.P(2)->SetSizeInContainer(len / 3));
        EXPECT_EQ(len / 3, s.P(2)->GetLayoutRect().Width());
        EXPECT_EQ("", CheckDockLayout(s.mgr));
    }
    EXPECT_EQ(333 / 3, s.P(2)->GetSizeInContainer());
}

TEST(DockingEngineTest, ASiteResizeKeepsGroupLengthsAndPercentages)
{
    Site s(5, 900, 700);
    s.mgr.DockIntoParent(s.P(0), CBRS_ALIGN_LEFT, 200, true);
    s.mgr.DockIntoParent(s.P(1), CBRS_ALIGN_BOTTOM, 150, true);
    s.mgr.DockIntoPane(s.P(2), s.P(0), CBRS_ALIGN_TOP, 0);
    s.mgr.DockIntoParent(s.P(3), CBRS_ALIGN_RIGHT, 120, true);
    s.mgr.DockIntoPane(s.P(4), s.P(3), CBRS_ALIGN_BOTTOM, 80);
    auto snapshot = [&s] {
        std::vector<long> v;
        for (ZnPaneDivider *g : s.mgr.GetDefaultDividers()) {
            v.push_back(g->GetGroupLength());
            CRect r = g->GetLayoutRect();
            v.insert(v.end(), {r.left, r.top, r.right, r.bottom});
        }
        for (auto &p : s.owned) {
            CRect r = p->GetLayoutRect();
            v.insert(v.end(), {r.left, r.top, r.right, r.bottom});
            int isLeft;
            if (ZnPaneContainer *c = p->GetDefaultPaneDivider()->FindPaneContainer(p.get(), isLeft))
                v.push_back(long(c->GetPercent() * 1e6));
        }
        return v;
    };
    auto const before = snapshot();
    for (auto [cx, cy] : {std::pair{0, 0}, {5, 900}, {300, 3}, {120, 90}, {2000, 1500}}) {
        s.world.resize(cx, cy);
        ASSERT_EQ("", CheckDockLayout(s.mgr)) << cx << "x" << cy;
    }
    s.world.resize(900, 700);
    EXPECT_EQ(before, snapshot());
}

TEST(DockingEngineTest, DividerMovesStopAtMinimumSizes)
{
    Site s(2);
    s.mgr.DockIntoParent(s.P(0), CBRS_ALIGN_LEFT, 300, true);
    s.mgr.DockIntoPane(s.P(1), s.P(0), CBRS_ALIGN_BOTTOM, 0);
    ZnPaneDivider *group = s.P(0)->GetDefaultPaneDivider();
    int isLeft;
    ZnPaneDivider *inner = group->FindPaneContainer(s.P(0), isLeft)->GetPaneDivider();
    CSize min0, min1;
    s.P(0)->GetMinSize(min0);
    s.P(1)->GetMinSize(min1);
    CPoint up(0, -5000);
    inner->Move(up, true);
    EXPECT_EQ(min0.cy, s.P(0)->GetLayoutRect().Height());
    CPoint down(0, 5000);
    inner->Move(down, true);
    EXPECT_EQ(min1.cy, s.P(1)->GetLayoutRect().Height());
    // The group divider: never narrower than the panes' minimum, never
    // squeezing the client area below 60.
    CPoint left(-5000, 0);
    group->Move(left, true);
    EXPECT_EQ(std::max(min0.cx, min1.cx), s.P(0)->GetLayoutRect().Width());
    CPoint right(5000, 0);
    group->Move(right, true);
    EXPECT_EQ(60, s.mgr.GetClientAreaBounds().Width());
    EXPECT_EQ("", CheckDockLayout(s.mgr));
    // A divider in auto-hide mode does not move.
    CRect const frozen = s.P(0)->GetLayoutRect();
    inner->SetAutoHideMode(true);
    inner->Move(up, true);
    EXPECT_EQ(frozen, s.P(0)->GetLayoutRect());
    inner->SetAutoHideMode(false);
}

TEST(DockingEngineTest, RegistryAndClassWideSettings)
{
    CFrameWnd *frame = reinterpret_cast<CFrameWnd *>(0x1000); // a key only, never used as a window
    ZnDockingManager a, b;
    ZnDockingManager::RegisterDockingManager(frame, &a);
    ZnDockingManager::RegisterDockingManager(frame, &b);
    EXPECT_TRUE(ZnDockingManager::UnregisterDockingManager(&a).empty());
    ZnDockingManager::RegisterDockingManager(frame, nullptr);
    EXPECT_EQ(nullptr, ZnDockingManager::GetPDockingManager(nullptr));

    EXPECT_EQ(200, ZnDockingManager::m_nTimeOutBeforeToolBarDock);
    EXPECT_EQ(220, ZnDockingManager::m_nTimeOutBeforeDockingBarDock);
    EXPECT_EQ(15, ZnDockingManager::m_nDockSensitivity);
    EXPECT_EQ(DT_STANDARD, ZnDockingManager::GetDockingMode());
    EXPECT_EQ(700, ZnDockablePane::m_nTimeOutBeforeAutoHide);
    EXPECT_EQ(12, ZnDockablePane::m_nSlideSteps);
    EXPECT_EQ(0, ZnPane::m_bHandleMinSize);
    ZnDockablePane::SetCaptionStyle(1, 77, 0);
    EXPECT_TRUE(ZnDockablePane::IsDrawCaption());
    EXPECT_FALSE(ZnDockablePane::IsHideDisabledButtons());
    ZnDockablePane::SetCaptionStyle(0, 0, 1);
}

TEST(DockingEngineTest, MinimumSizeHandlingKeepsSmallPanesAtTheirMinimum)
{
    for (int handle : {0, 1}) {
        ZnPane::m_bHandleMinSize = handle;
        Site s(2, 900, 700);
        s.mgr.DockIntoParent(s.P(0), CBRS_ALIGN_TOP, 600, true);
        s.mgr.DockIntoPane(s.P(1), s.P(0), CBRS_ALIGN_RIGHT, 0);
        ASSERT_TRUE(s.P(1)->SetSizeInContainer(60)); // a small share of a wide group
        s.world.resize(250, 700);                    // the share now falls below the minimum
        CSize min;
        s.P(1)->GetMinSize(min);
        int const w = s.P(1)->GetLayoutRect().Width();
        if (handle)
            EXPECT_EQ(min.cx, w);
        else
            EXPECT_LT(w, min.cx) << "the percentage alone decides";
        EXPECT_EQ("", CheckDockLayout(s.mgr));
    }
    ZnPane::m_bHandleMinSize = 0;
}
