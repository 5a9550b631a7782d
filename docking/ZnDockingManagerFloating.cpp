// The docking manager's floating part. Sections, in order:
//   the list of mini frames and their layout
//   docking floating panes and frames
//   drop targets and the drag
#include "docking/ZnDockingManager.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "docking/DockGeometry.h"
#include "docking/ZnBaseTabbedPane.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDragFrameImpl.h"
#include "docking/ZnMultiPaneFrameWnd.h"
#include "docking/ZnPaneContainer.h"
#include "docking/ZnPaneContainerManager.h"
#include "docking/ZnPaneDivider.h"
#include "docking/ZnPaneFrameWnd.h"
#include "mfc/CObList.h"

// ------------------------------------------------------------------ the list of mini frames and their layout

bool ZnDockingManager::AddMiniFrame(ZnPaneFrameWnd *pFrame)
{
    if (!pFrame || m_lstMiniFrames.Find(pFrame))
        return false;
    m_lstMiniFrames.AddTail(pFrame);
    return true;
}

bool ZnDockingManager::RemoveMiniFrame(ZnPaneFrameWnd *pFrame)
{
    POSITION pos = pFrame ? m_lstMiniFrames.Find(pFrame) : nullptr;
    if (!pos)
        return false;
    m_lstMiniFrames.RemoveAt(pos);
    if (m_pDraggedFrame == pFrame)
        m_pDraggedFrame = nullptr;
    return true;
}

void ZnDockingManager::FillMiniFrameVec(std::vector<ZnPaneFrameWnd *> &frames) const
{
    for (POSITION pos = m_lstMiniFrames.GetHeadPosition(); pos;)
        frames.push_back(static_cast<ZnPaneFrameWnd *>(m_lstMiniFrames.GetNext(pos)));
}

ZnPaneFrameWnd *ZnDockingManager::FrameFromPoint(CPoint pt, ZnPaneFrameWnd const *pFrameToExclude) const
{
    // Frames are top-level windows: the one highest in the Z order wins.
    ZnPaneFrameWnd *best = nullptr;
    for (POSITION pos = m_lstMiniFrames.GetHeadPosition(); pos;) {
        auto *f = static_cast<ZnPaneFrameWnd *>(m_lstMiniFrames.GetNext(pos));
        HWND const h = f->GetSafeHwnd();
        if (f == pFrameToExclude || !h || !(::GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) ||
            !f->GetFrameRect().PtInRect(pt))
            continue;
        if (!best)
            best = f;
        else
            for (HWND w = h; w; w = ::GetWindow(w, GW_HWNDNEXT))
                if (w == best->GetSafeHwnd()) {
                    best = f;
                    break;
                }
    }
    return best;
}

std::vector<ZnDockablePane *> ZnDockingManager::DestroyMiniFrames()
{
    std::vector<ZnDockablePane *> out;
    std::vector<ZnPaneFrameWnd *> frames;
    FillMiniFrameVec(frames);
    // The site may already be going (a frame site deletes itself with its
    // window): only a live one takes the panes' windows back.
    bool const siteAlive = m_hSiteWnd && ::IsWindow(m_hSiteWnd) &&
                           CWnd::FromHandlePermanent(m_hSiteWnd) == m_pParentWnd;
    for (ZnPaneFrameWnd *f : frames) {
        std::vector<ZnDockablePane *> panes;
        f->GetPanes(panes);
        for (ZnDockablePane *p : panes) {
            f->RemovePane(p);
            p->HideCaptionForFrame(false);
            p->SetPaneVisibleFlag(false);
            if (HWND h = p->GetSafeHwnd()) {
                ::ShowWindow(h, SW_HIDE);
                if (siteAlive)
                    ::SetParent(h, m_hSiteWnd);
            }
            out.push_back(p);
        }
        RemoveMiniFrame(f);
        if (f->GetSafeHwnd())
            f->DestroyWindow();
        else
            delete f;
    }
    return out;
}

void ZnDockingManager::CalcMiniFrameLayouts()
{
    std::vector<ZnPaneFrameWnd *> frames;
    FillMiniFrameVec(frames);
    for (ZnPaneFrameWnd *f : frames) {
        // A frame without a window has no message to wait for: once empty
        // it goes with the next layout.
        if (!f->GetSafeHwnd() && f->GetPaneCount() == 0) {
            f->CheckEmpty();
            continue;
        }
        f->CalcLayout();
    }
}

void ZnDockingManager::ApplyMiniFrameLayouts()
{
    std::vector<ZnPaneFrameWnd *> frames;
    FillMiniFrameVec(frames);
    for (ZnPaneFrameWnd *f : frames)
        f->ApplyLayout();
}

bool ZnDockingManager::IsDockedHere(ZnDockablePane const *pPane) const
{
    if (!pPane)
        return false;
    std::vector<ZnDockablePane *> panes;
    FillDockablePaneVec(panes);
    // The address is compared before the pane is looked at: a remembered
    // neighbour may be gone.
    return std::find(panes.begin(), panes.end(), pPane) != panes.end() && pPane->GetDefaultPaneDivider() &&
           pPane->GetDockingManager() == this;
}

// ------------------------------------------------------------------ docking floating panes and frames

bool ZnDockingManager::DockIntoFloatingPane(ZnDockablePane *pPane, ZnDockablePane *pTarget, unsigned long align,
                                            int len)
{
    align &= CBRS_ALIGN_ANY;
    if (!pPane || !pTarget || pPane == pTarget || !DockGeometry::IsSide(align) || !pTarget->IsFloating() ||
        pTarget->GetDockingManager() != this || static_cast<ZnDockablePane *>(pPane->GetParentTabbedPane()) == pTarget)
        return false;
    ZnDockingGesture gesture(this);
    pPane->LeaveTabbedPane();
    ZnPaneFrameWnd *f = pTarget->GetParentMiniFrame();
    pPane->ReleaseAutoHide(); // a pinned pane leaves its bar for the frame
    auto *multi = dynamic_cast<ZnMultiPaneFrameWnd *>(f);
    if (!multi) {
        // The target's lone frame gives way to a multi-pane frame at the
        // same place.
        multi = new ZnMultiPaneFrameWnd;
        if (!multi->Create(this, f->GetFrameRect())) {
            delete multi;
            return false;
        }
        f->RemovePane(pTarget);
        multi->AddPane(pTarget);
    }
    // Taking the newcomer from its place lays out; the target's frame may
    // not go meanwhile.
    bool const keep = multi->IsKeepIfEmpty();
    multi->SetKeepIfEmpty(true);
    bool const wasVisible = pPane->IsPaneVisible();
    if (pPane->GetDefaultPaneDivider()) {
        pPane->StoreRecentDockSiteInfo();
        if (ZnDockParentWnd *dp = pPane->GetPDockParentWnd())
            dp->OnBeforeFloat(pPane, DM_UNKNOWN);
        pPane->RemoveFromDefaultPaneDivider();
    }
    if (ZnPaneFrameWnd *from = pPane->GetParentMiniFrame())
        from->RemovePane(pPane);
    AddPane(pPane);
    pPane->SetPaneStyle((pPane->GetPaneStyle() & ~CBRS_ALIGN_ANY) | align);
    bool const inserted = multi->InsertPane(pPane, pTarget, align);
    multi->SetKeepIfEmpty(keep);
    if (!inserted) {
        RecalcLayout(true);
        return false;
    }
    pPane->SetPaneVisibleFlag(true);
    if (pPane->GetSafeHwnd() && !wasVisible)
        pPane->ShowWindow(SW_SHOWNOACTIVATE);
    if (len > 0) {
        // The container that holds the newcomer splits it from the target.
        int isLeft = 0;
        if (ZnPaneContainer *c = multi->GetPaneContainerManager().FindPaneContainer(pPane, isLeft)) {
            int const w = ZnPaneDivider::GetDefaultWidth();
            CRect const all = multi->GetFrameClientRect();
            int const avail = DockGeometry::Extent(all, c->IsSplitSideBySide()) - w;
            if (avail > 0) {
                int const first = isLeft ? len : avail - len;
                c->SetPercent(DockGeometry::PercentOf(std::clamp(first, 1, avail - 1), avail, c->GetPercent()));
            }
        }
    }
    RecalcLayout(true);
    OnLayoutChange();
    return true;
}

bool ZnDockingManager::DockMiniFrameToSide(ZnPaneFrameWnd *pFrame, unsigned long align, bool bOuterEdge, int len)
{
    align &= CBRS_ALIGN_ANY;
    std::vector<ZnDockablePane *> panes;
    if (pFrame)
        pFrame->GetPanes(panes);
    if (panes.empty() || !DockGeometry::IsSide(align))
        return false;
    ZnDockingGesture gesture(this);
    if (len <= 0)
        len = DockGeometry::Extent(pFrame->GetFrameClientRect(), DockGeometry::IsHorzAxis(align));
    auto *multi = dynamic_cast<ZnMultiPaneFrameWnd *>(pFrame);
    bool ok;
    if (!multi || panes.size() == 1) {
        ok = DockIntoParent(panes.front(), align, len, true);
        // The group gets len itself (DockIntoParent counts one more).
        if (ZnPaneDivider *d = ok ? panes.front()->GetDefaultPaneDivider() : nullptr)
            d->SetGroupLength(len);
    } else {
        // The frame's whole tree becomes the new group's.
        ZnDockablePane *first = panes.front();
        ZnPaneDivider *d = first->CreateDefaultPaneDivider(align, m_pParentWnd);
        if (!d)
            return false;
        ZnPaneContainerManager *cm = d->GetPaneContainerManager();
        ok = cm->AddPaneContainer(nullptr, multi->GetPaneContainerManager(), align);
        if (!ok) {
            if (d->GetSafeHwnd())
                d->DestroyWindow();
            delete d;
            return false;
        }
        cm->ReleaseEmptyPaneContainers();
        CObList dividers;
        cm->GetPaneDividers(dividers);
        for (POSITION pos = dividers.GetHeadPosition(); pos;) {
            auto *x = static_cast<ZnPaneDivider *>(dividers.GetNext(pos));
            x->SetDockingManager(this);
            if (x->GetSafeHwnd() && m_hSiteWnd)
                ::SetParent(x->GetSafeHwnd(), m_hSiteWnd);
        }
        for (ZnDockablePane *p : panes) {
            // The tree left the frame already: the frame only lets go.
            pFrame->RemovePane(p);
            if (p->GetParentMiniFrame() == pFrame)
                p->SetParentMiniFrame(nullptr);
            p->RemoveFromMiniframe(m_pParentWnd, DM_UNKNOWN);
            p->SetDefaultPaneDivider(d);
            p->SetPaneAlignment(align);
            AddPane(p);
            if (p->IsPaneVisible() && p->GetSafeHwnd())
                p->ShowWindow(SW_SHOWNOACTIVATE);
        }
        d->SetGroupLength(len);
        AddDefaultDivider(d, false);
        AddPane(d);
        d->SetPaneVisibleFlag(true);
        pFrame->PostCheckEmpty();
        if (!pFrame->GetSafeHwnd() && pFrame->GetPaneCount() == 0)
            pFrame->CheckEmpty();
    }
    if (ok && bOuterEdge) {
        if (ZnPaneDivider *d = panes.front()->GetDefaultPaneDivider()) {
            RemoveDefaultDivider(d);
            AddDefaultDivider(d, true);
        }
    }
    RecalcLayout(true);
    OnLayoutChange();
    return ok;
}

// ------------------------------------------------------------------ drop targets and the drag

bool ZnDockingManager::FindDropTarget(CPoint pt, ZnPaneFrameWnd const *pDragged, DropTarget &rTarget) const
{
    rTarget = DropTarget();
    if (!m_hSiteWnd || !pDragged)
        return false;
    std::vector<ZnDockablePane *> dragged;
    pDragged->GetPanes(dragged);
    if (dragged.empty())
        return false;
    unsigned long allowed = CBRS_ALIGN_ANY;
    for (ZnDockablePane *p : dragged)
        allowed &= p->GetEnabledAlignment() ? p->GetEnabledAlignment() : CBRS_ALIGN_ANY;

    unsigned long align = 0;
    bool outer = false;
    // A point over another floating frame belongs to that frame, not to the
    // site edge underneath.
    ZnPaneFrameWnd *over = FrameFromPoint(pt, pDragged);
    // On a docked pane's caption: a tab of it, even where the caption runs
    // along the site's edge.
    if (!over) {
        std::vector<ZnDockablePane *> all;
        FillDockablePaneVec(all);
        for (ZnDockablePane *p : all) {
            HWND const h = p->GetSafeHwnd();
            if (!h || !p->GetDefaultPaneDivider() || !p->IsPaneVisible() || !p->HasGripper() ||
                std::find(dragged.begin(), dragged.end(), p) != dragged.end())
                continue;
            CRect r;
            ::GetWindowRect(h, &r);
            CRect cap = p->GetCaptionRect();
            cap.OffsetRect(r.left, r.top);
            if (cap.PtInRect(pt)) {
                rTarget.bTab = true;
                rTarget.pPane = p;
                rTarget.rectOutline = r;
                return true;
            }
        }
    }
    if (!over && IsPointNearDockSite(pt, align, outer) && (align & allowed) && IsValidAlign(align)) {
        CRect bounds = outer ? m_rectOuterEdgeBounds : m_rectClientAreaBounds;
        ::MapWindowPoints(m_hSiteWnd, nullptr, reinterpret_cast<POINT *>(&bounds), 2);
        bool const horz = DockGeometry::IsHorzAxis(align);
        int const want = DockGeometry::Extent(pDragged->GetFrameClientRect(), horz);
        int const len = std::min(want, DockGeometry::Extent(bounds, horz) / 2);
        rTarget.dwAlign = align;
        rTarget.bOuterEdge = outer;
        rTarget.rectOutline = DockGeometry::CutSide(bounds, align, std::max(len, 1));
        return true;
    }

    // Beside a pane: the frame's panes when over a frame, else the docked ones.
    std::vector<ZnDockablePane *> candidates;
    if (over) {
        over->GetPanes(candidates);
    } else {
        std::vector<ZnDockablePane *> all;
        FillDockablePaneVec(all);
        for (ZnDockablePane *p : all)
            if (p->GetDefaultPaneDivider())
                candidates.push_back(p);
    }
    for (ZnDockablePane *p : candidates) {
        HWND const h = p->GetSafeHwnd();
        if (!h || !p->IsPaneVisible() || std::find(dragged.begin(), dragged.end(), p) != dragged.end())
            continue;
        CRect r;
        ::GetWindowRect(h, &r);
        if (!r.PtInRect(pt))
            continue;
        // The nearest edge, when the point lies in the outer third on its side.
        struct Edge
        {
            unsigned long side;
            int dist, extent;
        } const edges[] = {{CBRS_ALIGN_LEFT, int(pt.x - r.left), r.Width()},
                           {CBRS_ALIGN_RIGHT, int(r.right - 1 - pt.x), r.Width()},
                           {CBRS_ALIGN_TOP, int(pt.y - r.top), r.Height()},
                           {CBRS_ALIGN_BOTTOM, int(r.bottom - 1 - pt.y), r.Height()}};
        Edge const *best = nullptr;
        for (Edge const &e : edges)
            if (e.dist * 3 < e.extent && (!best || e.dist < best->dist))
                best = &e;
        if (!best)
            return false;
        rTarget.dwAlign = best->side;
        rTarget.pPane = p;
        CRect half = r;
        rTarget.rectOutline = DockGeometry::CutSide(half, best->side, best->extent / 2);
        return true;
    }
    return false;
}

bool ZnDockingManager::DropMiniFrame(ZnPaneFrameWnd *pFrame, DropTarget const &rTarget)
{
    std::vector<ZnDockablePane *> panes;
    if (pFrame)
        pFrame->GetPanes(panes);
    if (panes.empty() || (!rTarget.bTab && !DockGeometry::IsSide(rTarget.dwAlign)))
        return false;
    ZnDockingGesture gesture(this);
    if (rTarget.bTab) {
        bool ok = false;
        for (ZnDockablePane *p : panes)
            ok = p->AttachToTabWnd(rTarget.pPane, DM_MOUSE, true) != nullptr || ok;
        return ok;
    }
    if (!rTarget.pPane)
        return DockMiniFrameToSide(pFrame, rTarget.dwAlign, rTarget.bOuterEdge,
                                   DockGeometry::Extent(rTarget.rectOutline, DockGeometry::IsHorzAxis(rTarget.dwAlign)));
    // Into a pane: the frame's panes one after another, each beside the
    // target on the same side.
    bool ok = false;
    for (ZnDockablePane *p : panes)
        ok = DockIntoPane(p, rTarget.pPane, rTarget.dwAlign, 0) || ok;
    return ok;
}

ZnDockingManager::DragResult ZnDockingManager::TrackMiniFrameDrag(ZnPaneFrameWnd *pFrame, CPoint ptCursor,
                                                                  CPoint ptGrab, DropTarget &rTarget, bool bMoving)
{
    rTarget = DropTarget();
    HWND const h = pFrame ? pFrame->GetSafeHwnd() : nullptr;
    if (!h)
        return DragCancelled;
    ZnDragFrameImpl outline;
    outline.Init(m_pParentWnd);
    bool have = false;
    CSize const sens = ZnDockablePane::GetDragSensitivity();
    auto moveTo = [&](CPoint pt) {
        if (!bMoving && std::abs(pt.x - ptCursor.x) <= sens.cx && std::abs(pt.y - ptCursor.y) <= sens.cy)
            return;
        bMoving = true;
        pFrame->MoveFrameTo(CPoint(pt.x - ptGrab.x, pt.y - ptGrab.y));
        have = FindDropTarget(pt, pFrame, rTarget);
        outline.MoveDragFrame(have ? rTarget.rectOutline : CRect());
    };
    m_pDraggedFrame = pFrame;
    moveTo(ptCursor);
    ::SetCapture(h);
    DragResult result = DragCancelled;
    bool done = false;
    while (!done && ::GetCapture() == h) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(int(msg.wParam));
            break;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
            moveTo(CPoint(msg.pt));
            break;
        case WM_LBUTTONUP:
            moveTo(CPoint(msg.pt));
            result = have ? DragDropped : DragReleased;
            done = true;
            break;
        case WM_KEYDOWN:
            // Keys belong to the drag while it lasts; Escape ends it.
            if (msg.wParam == VK_ESCAPE)
                done = true;
            break;
        case WM_KEYUP:
        case WM_CHAR:
            break;
        case WM_RBUTTONDOWN:
        case WM_CANCELMODE:
            done = true;
            break;
        default:
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            break;
        }
    }
    outline.EndDrawDragFrame();
    if (::GetCapture() == h)
        ::ReleaseCapture();
    m_pDraggedFrame = nullptr;
    if (result != DragDropped)
        rTarget = DropTarget();
    return result;
}
