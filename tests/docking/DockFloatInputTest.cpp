// ks-test: serial
// Floating by the user's own hand: real mouse and keyboard input through
// SendInput drags panes out of their groups, to each edge of the site and
// onto floating panes, cancels with Escape, double-clicks captions both
// ways and closes a frame with its button. The checker judges every layout.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "docking/DockParentWindow.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnDragFrameImpl.h"
#include "docking/ZnMultiPaneFrameWnd.h"
#include "docking/ZnPaneDivider.h"
#include "docking/ZnPaneFrameWnd.h"
#include "tests/support/DockChecker.h"
#include "tests/support/DockInput.h"
#include "tests/support/LinkCounter.h"
#include "tests/support/WindowFixture.h"

namespace {

using kstest::CheckDockLayout;

// The helpers of real input, under the names these tests use.
CRect Outline()
{
    return kstest::DragOutline();
}

void Drag(POINT from, std::vector<POINT> const &path, bool escape = false, std::function<void()> const &probe = {})
{
    kstest::DragMouse(from, path, escape, probe);
}

void DoubleClick(POINT at)
{
    kstest::ClickAt(at, true);
}

void Click(POINT at)
{
    kstest::ClickAt(at);
}

class DockFloatInputTest : public kstest::WindowFixture
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
        cb.aPostCloseHdl = close.GetLink();
        dp->SetCallBacks(cb);
        for (int i = 0; i < 3; ++i) {
            panes.push_back(std::make_unique<Window>(host.get(), 0, 0x400000));
            P(i)->SetInternalName(SString("pane") + char('A' + i));
            P(i)->SetWindowText((SString("Pane ") + char('A' + i)).GetStr());
        }
        Mgr()->DockIntoParent(P(0), CBRS_ALIGN_LEFT, 220, true);
        Mgr()->DockIntoPane(P(1), P(0), CBRS_ALIGN_BOTTOM, 0);
        Mgr()->DockIntoParent(P(2), CBRS_ALIGN_BOTTOM, 120, true);
        ShowTop(Point(20, 20), Size(760, 580));
        ASSERT_EQ("", CheckDockLayout(*Mgr()));
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
    // A point on a docked pane's caption, left of its buttons.
    POINT Caption(ZnDockablePane *p)
    {
        RECT wr;
        GetWindowRect(p->GetSafeHwnd(), &wr);
        return {wr.left + 12, wr.top + p->GetCaptionHeight() / 2 + 1};
    }
    POINT FrameCaption(ZnPaneFrameWnd *f)
    {
        CRect const r = f->GetFrameRect();
        return {r.left + 16, r.top + ZnPaneFrameWnd::GetBorderSize() + ZnPaneFrameWnd::GetCaptionHeight() / 2};
    }
    CRect SiteOnScreen()
    {
        CRect r;
        GetClientRect(host->GetHWND(), &r);
        MapWindowPoints(host->GetHWND(), nullptr, reinterpret_cast<POINT *>(&r), 2);
        return r;
    }
    POINT FreeSpaceCentre()
    {
        RECT r;
        GetWindowRect(canvas->GetHWND(), &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    std::vector<CRect> Rects()
    {
        std::vector<CRect> out;
        for (int i = 0; i < 3; ++i)
            out.push_back(P(i)->GetLayoutRect());
        return out;
    }

    std::unique_ptr<DockParentWindow> host;
    std::unique_ptr<Window> canvas;
    std::vector<std::unique_ptr<Window>> panes;
    kstest::LinkRecorder close;
};

} // namespace

TEST_F(DockFloatInputTest, DraggingACaptionFloatsThePaneUnderTheMouseAndEscapePutsItBack)
{
    std::vector<CRect> const before = Rects();
    POINT const from = Caption(P(0));
    // A press that stays within the drag sensitivity floats nothing.
    Drag(from, {{from.x + 1, from.y + 1}});
    EXPECT_FALSE(P(0)->IsFloating());

    POINT const mid = FreeSpaceCentre();
    CRect during;
    Drag(from, {{from.x + 30, from.y + 20}, mid}, true, [&] { during = Outline(); });
    EXPECT_TRUE(during.IsRectEmpty()) << "no dock target in the middle of the free space";
    EXPECT_FALSE(P(0)->IsFloating()) << "Escape docks the pane back";
    EXPECT_EQ(before, Rects());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));

    Drag(from, {{from.x + 30, from.y + 20}, mid});
    ASSERT_TRUE(P(0)->IsFloating());
    ZnPaneFrameWnd *f = P(0)->GetParentMiniFrame();
    // The frame kept the mouse where the caption was held.
    POINT const held = FrameCaption(f);
    EXPECT_NEAR(mid.y, held.y, 3);
    EXPECT_TRUE(f->GetFrameRect().PtInRect(mid));
    EXPECT_EQ(P(1)->GetDefaultPaneDivider()->GetRootContainerRect(), P(1)->GetLayoutRect()) << "the partner fills the group";
    EXPECT_EQ("", CheckDockLayout(*Mgr()));

    // Escape while a floating frame is dragged puts the frame back.
    CRect const at = f->GetFrameRect();
    POINT const c = FrameCaption(f);
    Drag(c, {{c.x + 40, c.y + 40}, {c.x + 80, c.y + 60}}, true);
    EXPECT_EQ(at, f->GetFrameRect());
    EXPECT_TRUE(P(0)->IsFloating());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
}

TEST_F(DockFloatInputTest, AFrameDroppedAtEachEdgeDocksThereWithTheOutlineShowingWhere)
{
    CRect const site = SiteOnScreen();
    struct Edge
    {
        unsigned long side;
        POINT at;
    } const edges[] = {{CBRS_ALIGN_LEFT, {site.left + 5, site.CenterPoint().y}},
                       {CBRS_ALIGN_TOP, {site.CenterPoint().x, site.top + 5}},
                       {CBRS_ALIGN_RIGHT, {site.right - 5, site.CenterPoint().y}},
                       {CBRS_ALIGN_BOTTOM, {site.CenterPoint().x, site.bottom - 5}}};
    for (Edge const &e : edges) {
        // Out into the free space, then by the frame's caption to the edge.
        POINT const from = Caption(P(2));
        POINT const mid = FreeSpaceCentre();
        Drag(from, {{from.x + 30, from.y - 30}, mid});
        ASSERT_TRUE(P(2)->IsFloating()) << e.side;
        ZnPaneFrameWnd *f = P(2)->GetParentMiniFrame();
        POINT const c = FrameCaption(f);
        CRect outline;
        Drag(c, {{c.x + 20, c.y + 20}, e.at}, false, [&] { outline = Outline(); });
        EXPECT_TRUE(outline.PtInRect(e.at)) << e.side;
        bool const touches = e.side == CBRS_ALIGN_LEFT    ? outline.left == site.left
                             : e.side == CBRS_ALIGN_TOP   ? outline.top == site.top
                             : e.side == CBRS_ALIGN_RIGHT ? outline.right == site.right
                                                          : outline.bottom == site.bottom;
        EXPECT_TRUE(touches) << "the outline lies along the site's edge " << e.side;
        EXPECT_TRUE(Outline().IsRectEmpty()) << "the outline goes with the drag";
        ASSERT_FALSE(P(2)->IsFloating()) << e.side;
        EXPECT_EQ(e.side, P(2)->GetCurrentAlignment());
        EXPECT_EQ(P(2)->GetDefaultPaneDivider(), Mgr()->GetDefaultDividers().front()) << "the site's outer edge";
        bool const horz = e.side == CBRS_ALIGN_LEFT || e.side == CBRS_ALIGN_RIGHT;
        EXPECT_EQ(horz ? outline.Width() : outline.Height(),
                  horz ? P(2)->GetLayoutRect().Width() : P(2)->GetLayoutRect().Height())
            << "the pane takes the outline's length";
        EXPECT_EQ("", CheckDockLayout(*Mgr()));
    }
    kstest::Pump();
    std::vector<ZnPaneFrameWnd *> frames;
    Mgr()->FillMiniFrameVec(frames);
    EXPECT_TRUE(frames.empty());
}

TEST_F(DockFloatInputTest, DroppingOntoAFloatingPanesEdgeMakesAMultiPaneFrame)
{
    P(0)->FloatPane(CRect(120, 120, 420, 360));
    P(2)->FloatPane(CRect(450, 150, 700, 350));
    ASSERT_EQ("", CheckDockLayout(*Mgr()));
    CRect const target = P(0)->GetParentMiniFrame()->GetFrameRect();
    POINT const c = FrameCaption(P(2)->GetParentMiniFrame());
    // Into the right third of the floating pane's window.
    RECT pw;
    GetWindowRect(P(0)->GetSafeHwnd(), &pw);
    POINT const drop{pw.right - 8, (pw.top + pw.bottom) / 2};
    CRect outline;
    Drag(c, {{c.x - 30, c.y + 10}, drop}, false, [&] { outline = Outline(); });
    EXPECT_EQ(CRect((pw.left + pw.right + 1) / 2, pw.top, pw.right, pw.bottom).right, outline.right);
    EXPECT_TRUE(outline.PtInRect(drop));
    auto *multi = dynamic_cast<ZnMultiPaneFrameWnd *>(P(0)->GetParentMiniFrame());
    ASSERT_NE(nullptr, multi);
    EXPECT_EQ(multi, P(2)->GetParentMiniFrame());
    EXPECT_EQ(target, multi->GetFrameRect());
    EXPECT_LT(P(0)->GetLayoutRect().left, P(2)->GetLayoutRect().left);
    EXPECT_EQ("", CheckDockLayout(*Mgr()));

    // A pane dragged out of the multi-pane frame by its own caption, then
    // Escape: back in the frame beside its partner.
    POINT const from = Caption(P(2));
    Drag(from, {{from.x + 40, from.y + 40}, {from.x + 120, from.y + 150}}, true);
    EXPECT_EQ(multi, P(2)->GetParentMiniFrame());
    EXPECT_LT(P(0)->GetLayoutRect().left, P(2)->GetLayoutRect().left);
    EXPECT_EQ("", CheckDockLayout(*Mgr()));

    // The divider between them drags like a docked one.
    CObList lst;
    multi->GetPaneContainerManager().GetPaneDividers(lst);
    ASSERT_EQ(1, lst.GetCount());
    auto *d = static_cast<ZnPaneDivider *>(lst.GetHead());
    int const w0 = P(0)->GetLayoutRect().Width();
    RECT dr;
    GetWindowRect(d->GetSafeHwnd(), &dr);
    POINT const dc{(dr.left + dr.right) / 2, (dr.top + dr.bottom) / 2};
    Drag(dc, {{dc.x - 40, dc.y}});
    EXPECT_EQ(w0 - 40, P(0)->GetLayoutRect().Width());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
}

TEST_F(DockFloatInputTest, DoubleClicksFloatADockedPaneAndDockAFloatingOneBack)
{
    std::vector<CRect> const before = Rects();
    CRect const recent(200, 180, 460, 400);
    P(1)->SetRectRecentFloat(CRectangle(recent.left, recent.top, recent.right - 1, recent.bottom - 1));
    DoubleClick(Caption(P(1)));
    ASSERT_TRUE(P(1)->IsFloating());
    ZnPaneFrameWnd *f = P(1)->GetParentMiniFrame();
    EXPECT_EQ(recent, f->GetFrameRect()) << "at its recent floating rectangle";
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
    DoubleClick(FrameCaption(f));
    EXPECT_FALSE(P(1)->IsFloating());
    EXPECT_EQ(before, Rects()) << "back beside the same pane with the same share";
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
    // The frame remembered where it was last: floating again goes there.
    DoubleClick(Caption(P(1)));
    ASSERT_TRUE(P(1)->IsFloating());
    EXPECT_EQ(recent, P(1)->GetParentMiniFrame()->GetFrameRect());
}

TEST_F(DockFloatInputTest, TheFramesCloseButtonClosesItsPaneAsThePanesOwnWould)
{
    P(0)->FloatPane(CRect(200, 150, 450, 350));
    ZnPaneFrameWnd *f = P(0)->GetParentMiniFrame();
    CRect const b = f->GetCloseButtonRect();
    CRect const fr = f->GetFrameRect();
    POINT const at{fr.left + (b.left + b.right) / 2, fr.top + (b.top + b.bottom) / 2};
    // A pane with a docked window asks its owner.
    Click(at);
    EXPECT_EQ(1, close.calls);
    EXPECT_EQ(panes[0].get(), close.last);
    EXPECT_TRUE(IsWindowVisible(f->GetSafeHwnd()));
    // One without asks nobody and stays, as its docked close button would;
    // the owner's close hides the frame with the pane.
    P(0)->SetDockedWindow(nullptr);
    Click(at);
    EXPECT_EQ(1, close.calls);
    EXPECT_TRUE(IsWindowVisible(f->GetSafeHwnd()));
    P(0)->DoClose();
    EXPECT_FALSE(IsWindowVisible(f->GetSafeHwnd()));
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
    P(0)->SetDockedWindow(panes[0].get());
    P(0)->ShowPane(true, false, true);
    EXPECT_TRUE(IsWindowVisible(f->GetSafeHwnd()));
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
}

TEST_F(DockFloatInputTest, AFramesBorderResizesItDownToItsMinimumAndTheNextFloatRemembersIt)
{
    P(0)->FloatPane(CRect(200, 150, 450, 350));
    ZnPaneFrameWnd *f = P(0)->GetParentMiniFrame();
    CRect const r = f->GetFrameRect();
    POINT const corner{r.right - 2, r.bottom - 2};
    Drag(corner, {{corner.x + 40, corner.y + 30}});
    EXPECT_EQ(CRect(r.left, r.top, r.right + 40, r.bottom + 30), f->GetFrameRect());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
    POINT const left{r.left + 1, (r.top + r.bottom) / 2};
    Drag(left, {{left.x + 30, left.y}, {left.x + 1000, left.y}});
    CSize const min = f->GetMinFrameSize();
    EXPECT_EQ(CRect(r.right + 40 - min.cx, r.top, r.right + 40, r.bottom + 30), f->GetFrameRect());
    EXPECT_EQ("", CheckDockLayout(*Mgr()));
    CRect const last = f->GetFrameRect();
    ASSERT_TRUE(P(0)->DockToRecentDockSite());
    DoubleClick(Caption(P(0)));
    ASSERT_TRUE(P(0)->IsFloating());
    EXPECT_EQ(last, P(0)->GetParentMiniFrame()->GetFrameRect());
}
