// Floating panes on real windows without input: mini frames made, filled,
// emptied and destroyed by docking calls, judged by the checker; the
// fuzzer's floating operations over several seeds; the empty-frame
// message; and a leak loop over float and dock cycles.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "docking/DockParentWindow.h"
#include "docking/DockPosition.h"
#include "docking/DockPaneElement.h"
#include "docking/HolderElement.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnMultiPaneFrameWnd.h"
#include "docking/ZnPaneFrameWnd.h"
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
    std::vector<ZnPaneFrameWnd *> Frames()
    {
        std::vector<ZnPaneFrameWnd *> f;
        Mgr()->FillMiniFrameVec(f);
        return f;
    }
};

class ZnPaneFrameWndTest : public kstest::WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        MakeTop();
        top->SetPosSizePixel(Point(0, 0), Size(900, 700));
    }
};

// The mini frame windows of this thread, shown or not.
int CountFrameWindows()
{
    int n = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM p) -> BOOL {
            char cls[64] = "";
            GetClassNameA(h, cls, sizeof cls);
            if (std::string(cls) == "Afx:MiniFrame")
                ++*reinterpret_cast<int *>(p);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

} // namespace

TEST_F(ZnPaneFrameWndTest, FloatingTakesThePaneOutOfItsGroupIntoAFrameOfItsOwn)
{
    Host h(top, 3);
    ZnDockingManager *m = h.Mgr();
    m->DockIntoParent(h.P(0), CBRS_ALIGN_LEFT, 200, true);
    m->DockIntoPane(h.P(1), h.P(0), CBRS_ALIGN_BOTTOM, 0);
    h.beforeFloat.calls = 0;
    CRect const at(300, 200, 560, 380);
    ASSERT_TRUE(h.P(0)->FloatPane(at, DM_UNKNOWN, true));
    ASSERT_EQ("", CheckDockLayout(*m));
    ZnPaneFrameWnd *f = h.P(0)->GetParentMiniFrame();
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(at, f->GetFrameRect());
    EXPECT_EQ(0, h.P(0)->GetNestedDockDepth());
    // The frame is a tool window owned by the site's top window, with the
    // pane's text in its caption; the pane's own caption is off meanwhile.
    HWND const fh = f->GetSafeHwnd();
    EXPECT_EQ(GetAncestor(h.host.GetHWND(), GA_ROOT), GetWindow(fh, GW_OWNER));
    EXPECT_TRUE(GetWindowLongA(fh, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    char text[64] = "";
    GetWindowTextA(fh, text, sizeof text);
    EXPECT_STREQ("Pane A", text);
    EXPECT_EQ(0, h.P(0)->GetCaptionHeight());
    EXPECT_EQ(1, h.beforeFloat.calls) << "the owner hears of a docked pane that floats";
    EXPECT_EQ(h.P(0), h.beforeFloat.last);
    // The lookup by identifier sees floating panes only when asked to.
    unsigned const id = unsigned(h.P(0)->GetDlgCtrlID());
    EXPECT_EQ(nullptr, m->FindPaneByID(id, false));
    EXPECT_EQ(h.P(0), m->FindPaneByID(id, true));

    // Floating again only moves the lone pane's frame; the owner is not told.
    ASSERT_TRUE(h.P(0)->FloatPane(CRect(100, 100, 400, 300)));
    EXPECT_EQ(f, h.P(0)->GetParentMiniFrame());
    EXPECT_EQ(1, h.beforeFloat.calls);
    EXPECT_EQ(CRect(100, 100, 400, 300), f->GetFrameRect());
    EXPECT_EQ("", CheckDockLayout(*m));

    // Docking it back restores the caption and lets the frame go.
    ASSERT_TRUE(h.P(0)->DockToRecentDockSite());
    EXPECT_EQ("", CheckDockLayout(*m));
    EXPECT_FALSE(h.P(0)->IsFloating());
    EXPECT_GT(h.P(0)->GetCaptionHeight(), 0);
    kstest::Pump();
    EXPECT_TRUE(h.Frames().empty());
    EXPECT_EQ(0, CountFrameWindows());

    // A pane that may not float stays docked; a floating one goes back.
    h.P(2)->FloatPane(CRect(50, 50, 300, 300));
    ASSERT_TRUE(h.P(2)->IsFloating());
    h.P(2)->DisableFloating();
    EXPECT_FALSE(h.P(2)->IsFloating());
    EXPECT_FALSE(h.P(2)->FloatPane(CRect(50, 50, 300, 300)));
    EXPECT_FALSE(h.P(2)->IsFloating());
    EXPECT_EQ("", CheckDockLayout(*m));
}

TEST_F(ZnPaneFrameWndTest, DockingBackFindsTheSameNeighbourSideAndShare)
{
    // Each case: how the pair was docked, and the share asked for the first.
    struct Case
    {
        unsigned long group, side;
        int len;
    } const cases[] = {{CBRS_ALIGN_LEFT, CBRS_ALIGN_BOTTOM, 150},
                       {CBRS_ALIGN_TOP, CBRS_ALIGN_RIGHT, 500},
                       {CBRS_ALIGN_RIGHT, CBRS_ALIGN_TOP, 120},
                       {CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, 90}};
    for (Case const &c : cases) {
        Host h(top, 3);
        ZnDockingManager *m = h.Mgr();
        m->DockIntoParent(h.P(2), CBRS_ALIGN_LEFT, 120, true);
        m->DockIntoParent(h.P(0), c.group, 230, true);
        m->DockIntoPane(h.P(1), h.P(0), c.side, c.len);
        std::vector<CRect> before;
        for (int i = 0; i < 3; ++i)
            before.push_back(h.P(i)->GetLayoutRect());
        for (int moved : {1, 0}) {
            ASSERT_TRUE(h.P(moved)->FloatPane(CRect(200, 200, 400, 400)));
            ASSERT_EQ("", CheckDockLayout(*m));
            ASSERT_TRUE(h.P(moved)->DockToRecentDockSite());
            ASSERT_EQ("", CheckDockLayout(*m));
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(before[size_t(i)], h.P(i)->GetLayoutRect()) << "pane " << i << " after pane " << moved;
        }
        // A lone group goes back to its side with its length, outermost
        // when it was.
        ASSERT_TRUE(h.P(2)->FloatPane(CRect(200, 200, 400, 400)));
        ASSERT_TRUE(h.P(2)->DockToRecentDockSite());
        EXPECT_EQ("", CheckDockLayout(*m));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(before[size_t(i)], h.P(i)->GetLayoutRect()) << "pane " << i << " after the lone group";
    }
}

TEST_F(ZnPaneFrameWndTest, DockingOntoAFloatingPaneMakesAMultiPaneFrame)
{
    Host h(top, 4);
    ZnDockingManager *m = h.Mgr();
    m->DockIntoParent(h.P(3), CBRS_ALIGN_LEFT, 150, true);
    ASSERT_TRUE(h.P(0)->FloatPane(CRect(300, 100, 700, 400)));
    ZnPaneFrameWnd *single = h.P(0)->GetParentMiniFrame();
    ASSERT_TRUE(m->DockIntoPane(h.P(1), h.P(0), CBRS_ALIGN_RIGHT, 0));
    ASSERT_EQ("", CheckDockLayout(*m));
    auto *multi = dynamic_cast<ZnMultiPaneFrameWnd *>(h.P(0)->GetParentMiniFrame());
    ASSERT_NE(nullptr, multi);
    EXPECT_EQ(multi, h.P(1)->GetParentMiniFrame());
    EXPECT_EQ(CRect(300, 100, 700, 400), multi->GetFrameRect()) << "the multi-pane frame takes the lone frame's place";
    EXPECT_GT(h.P(0)->GetCaptionHeight(), 0) << "several panes show their own captions";
    EXPECT_LT(h.P(0)->GetLayoutRect().left, h.P(1)->GetLayoutRect().left);
    // The docked pane comes in below the second one, with the length asked.
    ASSERT_TRUE(m->DockIntoPane(h.P(3), h.P(1), CBRS_ALIGN_BOTTOM, 80));
    ASSERT_EQ("", CheckDockLayout(*m));
    EXPECT_EQ(3, multi->GetPaneCount());
    EXPECT_EQ(80, h.P(3)->GetLayoutRect().Height());
    kstest::Pump();
    EXPECT_EQ(1, CountFrameWindows()) << "the lone frame went";
    (void)single;

    // Closing one pane keeps the frame; the frame hides with the last.
    h.P(3)->DoClose();
    EXPECT_EQ("", CheckDockLayout(*m));
    EXPECT_TRUE(IsWindowVisible(multi->GetSafeHwnd()));
    h.P(0)->DoClose();
    h.P(1)->DoClose();
    EXPECT_EQ("", CheckDockLayout(*m));
    EXPECT_FALSE(IsWindowVisible(multi->GetSafeHwnd()));
    h.P(1)->ShowPane(true, false, true);
    EXPECT_EQ("", CheckDockLayout(*m));
    EXPECT_TRUE(IsWindowVisible(multi->GetSafeHwnd()));

    // The whole frame docks to a side as one group, keeping its tree.
    for (int i : {0, 3})
        h.P(i)->ShowPane(true, false, true);
    ASSERT_TRUE(m->DockMiniFrameToSide(multi, CBRS_ALIGN_RIGHT, false, 250));
    ASSERT_EQ("", CheckDockLayout(*m));
    EXPECT_EQ(h.P(0)->GetDefaultPaneDivider(), h.P(1)->GetDefaultPaneDivider());
    EXPECT_EQ(h.P(0)->GetDefaultPaneDivider(), h.P(3)->GetDefaultPaneDivider());
    EXPECT_EQ(h.P(3)->GetLayoutRect().left, h.P(1)->GetLayoutRect().left);
    EXPECT_GT(h.P(3)->GetLayoutRect().top, h.P(1)->GetLayoutRect().top);
    kstest::Pump();
    EXPECT_EQ(0, CountFrameWindows());
}

TEST_F(ZnPaneFrameWndTest, TheEmptyFrameMessageIsIgnoredByFullFramesAndEndsEmptyOnes)
{
    Host h(top, 2);
    ZnDockingManager *m = h.Mgr();
    unsigned const msg = ZnDockingManager::GetWmCheckEmptyMiniFrame();
    ASSERT_TRUE(h.P(0)->FloatPane(CRect(100, 100, 300, 300)));
    ASSERT_TRUE(h.P(1)->FloatPane(CRect(400, 100, 600, 300)));
    ZnPaneFrameWnd *full = h.P(0)->GetParentMiniFrame();
    ZnPaneFrameWnd *kept = h.P(1)->GetParentMiniFrame();
    HWND const fullH = full->GetSafeHwnd(), keptH = kept->GetSafeHwnd();
    PostMessageA(fullH, msg, 0, 0);
    kstest::Pump();
    EXPECT_TRUE(IsWindowVisible(fullH));
    EXPECT_EQ(2u, h.Frames().size());

    // A kept frame that empties hides and stays; shown again by hand it
    // hides again on the message.
    kept->SetKeepIfEmpty(true);
    m->DockIntoParent(h.P(1), CBRS_ALIGN_LEFT, 100, true);
    kstest::Pump();
    ASSERT_TRUE(IsWindow(keptH));
    EXPECT_FALSE(IsWindowVisible(keptH));
    ShowWindow(keptH, SW_SHOWNOACTIVATE);
    PostMessageA(keptH, msg, 0, 0);
    kstest::Pump();
    EXPECT_FALSE(IsWindowVisible(keptH));
    EXPECT_EQ(2u, h.Frames().size());

    // Without the flag it destroys itself and leaves the manager's list.
    kept->SetKeepIfEmpty(false);
    PostMessageA(keptH, msg, 0, 0);
    kstest::Pump();
    EXPECT_FALSE(IsWindow(keptH));
    EXPECT_EQ(std::vector<ZnPaneFrameWnd *>{full}, h.Frames());
    EXPECT_EQ("", CheckDockLayout(*m));
}

TEST_F(ZnPaneFrameWndTest, DestroyingTheSiteDestroysTheFramesAndHandsThePanesBack)
{
    auto h = std::make_unique<Host>(top, 3);
    for (int i = 0; i < 3; ++i)
        h->P(i)->FloatPane(CRect(100 * i, 50, 100 * i + 200, 250));
    h->Mgr()->DockIntoPane(h->P(2), h->P(1), CBRS_ALIGN_TOP, 0);
    ASSERT_EQ(4, CountFrameWindows()) << "the two emptied frames wait for their message";
    std::vector<ZnDockablePane *> back = ZnDockingManager::UnregisterDockingManager(h->Mgr());
    EXPECT_EQ(3u, back.size());
    EXPECT_EQ(0, CountFrameWindows());
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(h->P(i)->IsFloating());
        EXPECT_EQ(h->host.GetHWND(), GetParent(h->P(i)->GetSafeHwnd())) << "the pane window survives its frame";
    }
    EXPECT_EQ("", CheckDockLayout(*h->Mgr()));
    // A frame whose owner window goes first hands its pane back the same way.
    h->P(0)->FloatPane(CRect(10, 10, 200, 200));
    h.reset();
    EXPECT_EQ(0, CountFrameWindows());
}

TEST_F(ZnPaneFrameWndTest, ModelElementsFloatTheirPanesAtTheirRectangles)
{
    Host h(top, 2);
    DockPaneElement a(h.P(0)), b(h.P(1));
    a.SetRect(CRectangle(40, 60, 240, 200));
    EXPECT_TRUE(a.Float());
    ASSERT_TRUE(h.P(0)->IsFloating());
    EXPECT_EQ(CRect(40, 60, 240, 200), h.P(0)->GetParentMiniFrame()->GetFrameRect());
    auto *holder = new HolderElement;
    auto *l = new DockPaneElement(h.P(0)), *r = new DockPaneElement(h.P(1));
    l->SetRect(CRectangle(300, 300, 500, 450));
    r->SetRect(CRectangle(520, 300, 700, 450));
    holder->SetChilds(l, r);
    EXPECT_TRUE(holder->Float());
    EXPECT_EQ(CRect(300, 300, 500, 450), h.P(0)->GetParentMiniFrame()->GetFrameRect());
    EXPECT_EQ(CRect(520, 300, 700, 450), h.P(1)->GetParentMiniFrame()->GetFrameRect());
    EXPECT_EQ("", CheckDockLayout(*h.Mgr()));
    delete holder;
    DockPaneElement none(nullptr);
    EXPECT_FALSE(none.Float());
}

// The owner's answer to "float here?": it moves the position's floating
// rectangle and says yes, or leaves it and says no.
struct FloatRectOwner : LinkHdl
{
    int calls = 0;
    __int64 answer = 0;
    CRectangle rect;
    __int64 On(void *p)
    {
        ++calls;
        static_cast<DockPosition *>(p)->SetRectRecentFloat(rect);
        return answer;
    }
};

TEST_F(ZnPaneFrameWndTest, FloatingRecordsThePlaceLeftAndADoubleClickFloatsWhereTheOwnerSays)
{
    Host h(top, 3);
    ZnDockingManager *m = h.Mgr();
    m->DockIntoParent(h.P(0), CBRS_ALIGN_LEFT, 200, true);
    m->DockIntoPane(h.P(1), h.P(0), CBRS_ALIGN_BOTTOM, 0);
    m->DockIntoParent(h.P(2), CBRS_ALIGN_RIGHT, 150, true);
    FloatRectOwner owner;
    owner.rect = CRectangle(300, 120, 520, 330);
    DockParentCallBacks cb = h.Dp()->GetCallBacks();
    cb.aAcceptFloatRectHdl = Link(&owner, &FloatRectOwner::On);
    h.Dp()->SetCallBacks(cb);
    CRect const docked = h.P(1)->GetLayoutRect();

    for (__int64 answer : {0, 1}) {
        owner.answer = answer;
        DockPosition expect;
        h.Dp()->FillDockPosition(h.P(1), expect, true);
        int const calls = owner.calls, before = h.beforeFloat.calls;
        CRect const asked(40, 40, 260, 240);
        ASSERT_TRUE(h.P(1)->FloatPane(asked, DM_DBL_CLICK, true));
        EXPECT_EQ(calls + 1, owner.calls);
        EXPECT_EQ(before + 1, h.beforeFloat.calls);
        EXPECT_EQ(h.P(1), h.beforeFloat.last);
        CRect const want = answer ? CRect(300, 120, 521, 331) : asked; // inclusive rectangle
        EXPECT_EQ(want, h.P(1)->GetParentMiniFrame()->GetFrameRect()) << "answer " << answer;
        // The place left, as it was before the pane went: beside pane A.
        DockPosition const got = h.P(1)->GetRecentDockPosition();
        EXPECT_EQ(expect.GetSize(), got.GetSize());
        ASSERT_NE(nullptr, got.GetHolderNeighbour());
        EXPECT_EQ(SString("paneA"), got.GetHolderNeighbour()->GetName());
        EXPECT_EQ("", CheckDockLayout(*m));
        h.Dp()->DockWithPosition(h.P(1), got);
        EXPECT_EQ(docked, h.P(1)->GetLayoutRect()) << "answer " << answer;
        EXPECT_EQ("", CheckDockLayout(*m));
    }
    // A drag asks no owner; at start-up nothing is recorded or told.
    int const calls = owner.calls, before = h.beforeFloat.calls;
    ASSERT_TRUE(h.P(2)->FloatPane(CRect(40, 40, 260, 240), DM_MOUSE, true));
    EXPECT_EQ(calls, owner.calls);
    EXPECT_EQ(before + 1, h.beforeFloat.calls);
    h.Dp()->SetInStartUp(true);
    DockPosition const kept = h.P(0)->GetRecentDockPosition();
    ASSERT_TRUE(h.P(0)->FloatPane(CRect(40, 40, 260, 240), DM_DBL_CLICK, true));
    EXPECT_EQ(before + 1, h.beforeFloat.calls);
    EXPECT_TRUE(kept == h.P(0)->GetRecentDockPosition());
    EXPECT_EQ("", CheckDockLayout(*m));
}

TEST_F(ZnPaneFrameWndTest, FloatAllGivesEveryShownPaneAFrameAndDockAllTakesThemBack)
{
    Host h(top, 5);
    ZnDockingManager *m = h.Mgr();
    m->DockIntoParent(h.P(0), CBRS_ALIGN_LEFT, 200, true);
    m->DockIntoPane(h.P(1), h.P(0), CBRS_ALIGN_BOTTOM, 0);
    m->DockIntoParent(h.P(2), CBRS_ALIGN_BOTTOM, 120, true);
    m->DockIntoParent(h.P(3), CBRS_ALIGN_RIGHT, 150, true);
    h.P(4)->FloatPane(CRect(600, 50, 800, 250));
    DockPosition hiddenAt;
    ASSERT_TRUE(h.Dp()->HidePane(h.P(2), hiddenAt, true));
    h.P(3)->SetRectRecentFloat(CRectangle(410, 60, 610, 260));
    h.Dp()->FloatAll();
    EXPECT_EQ("", CheckDockLayout(*m));
    for (int i : {0, 1, 3, 4}) {
        ASSERT_TRUE(h.P(i)->IsFloating()) << i;
        EXPECT_EQ(1, h.P(i)->GetParentMiniFrame()->GetPaneCount()) << i;
        EXPECT_TRUE(h.P(i)->IsPaneVisible()) << i;
    }
    EXPECT_EQ(CRect(410, 60, 611, 261), h.P(3)->GetParentMiniFrame()->GetFrameRect());
    EXPECT_FALSE(h.P(2)->IsFloating());
    EXPECT_TRUE(h.Dp()->GetHiddenPanes().count(h.P(2)));
    kstest::Pump(); // pane E's old frame goes on the message it posted
    EXPECT_EQ(4, CountFrameWindows());
    h.Dp()->DockAll();
    EXPECT_EQ("", CheckDockLayout(*m));
    for (int i : {0, 1, 3, 4})
        EXPECT_TRUE(h.Dp()->IsDockedHere(h.P(i))) << i;
    kstest::Pump();
    EXPECT_EQ(0, CountFrameWindows());
}

TEST_F(ZnPaneFrameWndTest, FuzzedFloatingOnRealWindowsOverSeveralSeeds)
{
    for (unsigned seed : {11u, 12u, 13u, 14u, 15u}) {
        Host h(top, 6);
        ASSERT_EQ("", kstest::FuzzDocking(h.world, seed, 400)) << "replay with seed " << seed;
        kstest::Pump();
        // Every frame left holds a pane once the posted checks have run.
        for (ZnPaneFrameWnd *f : h.Frames())
            EXPECT_GT(f->GetPaneCount(), 0) << "seed " << seed;
        EXPECT_EQ(int(h.Frames().size()), CountFrameWindows()) << "seed " << seed;
    }
}

TEST_F(ZnPaneFrameWndTest, FloatAndDockCyclesLeaveNothingBehind)
{
    Host h(top, 4);
    ZnDockingManager *m = h.Mgr();
    m->DockIntoParent(h.P(0), CBRS_ALIGN_LEFT, 200, true);
    m->DockIntoPane(h.P(1), h.P(0), CBRS_ALIGN_BOTTOM, 0);
    m->DockIntoParent(h.P(2), CBRS_ALIGN_BOTTOM, 120, true);
    m->DockIntoParent(h.P(3), CBRS_ALIGN_RIGHT, 150, true);
    auto cycle = [&](int i) {
        ZnDockablePane *p = h.P(i % 4), *q = h.P((i + 1) % 4);
        p->FloatPane(CRect(100 + i % 7, 100, 400, 300));
        q->FloatPane(CRect(500, 100, 700, 300));
        m->DockIntoPane(q, p, CBRS_ALIGN_RIGHT, 0);
        kstest::Pump();
        q->DockToRecentDockSite();
        p->DockToRecentDockSite();
        kstest::Pump();
    };
    EXPECT_TRUE(kstest::NoGrowthOnceSettled({.batch = 8}, cycle));
    EXPECT_EQ("", CheckDockLayout(*m));
    EXPECT_EQ(0, CountFrameWindows());
}
