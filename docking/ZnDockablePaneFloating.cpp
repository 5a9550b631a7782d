// The dockable pane's floating part: floating in a mini frame, the caption
// drag that takes a pane out and the double-click that sends it back.
#include "docking/ZnDockablePane.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "docking/DockGeometry.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockingGesture.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnMultiPaneFrameWnd.h"
#include "docking/ZnPaneContainer.h"
#include "docking/ZnPaneDivider.h"
#include "docking/ZnPaneFrameWnd.h"
#include "docking/ZnRecentPaneContainerInfo.h"

namespace {

CRect Excl(CRectangle const &r)
{
    if (r.Right() == RECT_EMPTY || r.Bottom() == RECT_EMPTY)
        return CRect();
    return CRect(r.Left(), r.Top(), r.Right() + 1, r.Bottom() + 1);
}

CRectangle Incl(CRect const &r)
{
    return CRectangle(r.left, r.top, r.right - 1, r.bottom - 1);
}

} // namespace

bool ZnDockablePane::CanFloat() const
{
    return (m_dwControlBarStyle & AFX_CBRS_FLOAT) != 0;
}

void ZnDockablePane::DisableFloating()
{
    m_dwControlBarStyle &= ~AFX_CBRS_FLOAT;
    if (IsFloating())
        DockToRecentDockSite();
}

bool ZnDockablePane::IsTracked() const
{
    return m_bTracked;
}

void ZnDockablePane::HideCaptionForFrame(bool bHide)
{
    if (bHide == m_bCaptionHiddenByFrame)
        return;
    if (bHide)
        m_bGripperBeforeFrame = m_bHasGripper;
    m_bCaptionHiddenByFrame = bHide;
    EnableGripper(bHide ? false : m_bGripperBeforeFrame);
}

void ZnDockablePane::RemoveFromMiniframe(CWnd *pNewParent, AFX_DOCK_METHOD dockMethod)
{
    if (ZnPaneFrameWnd *f = m_pMiniFrame)
        f->RemovePane(this);
    m_pMiniFrame = nullptr;
    HideCaptionForFrame(false);
    ZnPane::RemoveFromMiniframe(pNewParent, dockMethod);
}

bool ZnDockablePane::FloatPane(CRect rectFloat, AFX_DOCK_METHOD dockMethod, bool bShow)
{
    ZnDockingManager *mgr = m_pDockManager;
    if (!mgr || !CanFloat())
        return false;
    rectFloat.NormalizeRect();
    // A rectangle far beyond any screen is no place for a frame.
    int const limit = 1 << 15;
    if (std::abs(long(rectFloat.left)) > limit || std::abs(long(rectFloat.top)) > limit ||
        rectFloat.Width() > limit || rectFloat.Height() > limit)
        return false;
    ZnDockingGesture gesture(mgr);
    LeaveTabbedPane();
    ReleaseAutoHide(); // a pinned pane leaves its bar for the frame
    ZnPaneFrameWnd *old = m_pMiniFrame;
    if (old && old->GetPaneCount() == 1) {
        // Alone in its frame already: the frame only moves.
        old->SetFrameRect(rectFloat);
        if (bShow != m_bPaneVisible)
            ShowPane(bShow, false, false);
        mgr->RecalcLayout(true);
        mgr->OnLayoutChange();
        return true;
    }
    auto *frame = new ZnPaneFrameWnd;
    if (!frame->Create(mgr, rectFloat)) {
        delete frame;
        return false;
    }
    // Leaving the old place lays out, and an empty frame goes with a layout.
    frame->SetKeepIfEmpty(true);
    if (m_pDefaultDivider) {
        // The dock parent records the pane's position while it is still in it.
        StoreRecentDockSiteInfo();
        CRectangle const before = m_rectRecentFloat;
        if (m_pDockParentWnd && !m_pDockParentWnd->IsInStartUp())
            m_pDockParentWnd->OnBeforeFloat(this, dockMethod);
        // The owner may have named the floating rectangle of a double-click.
        if (m_rectRecentFloat != before) {
            CRect const r = Excl(m_rectRecentFloat);
            if (r.Width() > 10 && r.Height() > 10)
                frame->SetFrameRect(r);
        }
        RemoveFromDefaultPaneDivider();
    }
    if (old)
        old->RemovePane(this);
    mgr->AddPane(this);
    frame->AddPane(this);
    frame->SetKeepIfEmpty(false);
    m_bPaneVisible = bShow;
    if (m_hWnd)
        ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    SetRectRecentFloat(Incl(frame->GetFrameRect()));
    mgr->RecalcLayout(true);
    mgr->OnLayoutChange();
    return true;
}

CRect ZnDockablePane::GetFloatRect() const
{
    CRect r = Excl(m_rectRecentFloat);
    if (r.Width() > 10 && r.Height() > 10)
        return r;
    // Beside where the pane is now, as large as it is.
    if (m_hWnd)
        GetWindowRect(&r);
    else
        r = m_rectLayout;
    int const b = ZnPaneFrameWnd::GetBorderSize();
    r.InflateRect(b, b);
    r.OffsetRect(ZnPaneFrameWnd::GetCaptionHeight(), ZnPaneFrameWnd::GetCaptionHeight());
    return r;
}

bool ZnDockablePane::DockToRecentDockSite()
{
    ZnDockingManager *mgr = m_pDockManager;
    if (!mgr)
        return false;
    ZnDockingGesture gesture(mgr);
    ZnRecentDockSiteInfo const info = m_recentDockSiteInfo;
    ZnRecentPaneContainerInfo const &ci = info.GetRecentContainerInfo();
    bool ok = false;
    if (ci.IsValid() && ci.GetRecentNeighbour() != this && mgr->IsDockedHere(ci.GetRecentNeighbour())) {
        ok = mgr->DockIntoPane(this, ci.GetRecentNeighbour(), ci.GetSideOfNeighbour(), 0);
        int isLeft = 0;
        ZnPaneContainer *c = ok && m_pDefaultDivider ? m_pDefaultDivider->FindPaneContainer(this, isLeft) : nullptr;
        if (c) {
            double const share = isLeft ? ci.GetShare() : 1.0 - ci.GetShare();
            c->SetPercent(std::clamp(share * 100.0, 0.5, 99.5));
        }
    }
    if (!ok) {
        unsigned long align = info.GetRecentAlignment();
        if (!DockGeometry::IsSide(align))
            align = DockGeometry::IsSide(GetCurrentAlignment()) ? GetCurrentAlignment() : CBRS_ALIGN_LEFT;
        ok = mgr->DockIntoParent(this, align, info.GetRecentGroupLength(), true);
        if (ok && m_pDefaultDivider) {
            if (info.GetRecentGroupLength() > 0)
                m_pDefaultDivider->SetGroupLength(info.GetRecentGroupLength());
            if (info.WasOuterGroup()) {
                mgr->RemoveDefaultDivider(m_pDefaultDivider);
                mgr->AddDefaultDivider(m_pDefaultDivider, true);
            }
        }
    }
    mgr->RecalcLayout(true);
    mgr->OnLayoutChange();
    return ok;
}

void ZnDockablePane::OnCaptionDoubleClick()
{
    if (!m_pDockManager)
        return;
    if (IsFloating())
        DockToRecentDockSite();
    else if (m_pDefaultDivider && m_bFloatGripActive && CanFloat())
        FloatPane(GetFloatRect(), DM_DBL_CLICK, true);
}

bool ZnDockablePane::WaitForDragStart(CPoint ptScreen, CPoint &rNow)
{
    // Nothing moves until the mouse has gone further than the drag
    // sensitivity: a click or the first half of a double-click stays one.
    SetCapture();
    while (::GetCapture() == m_hWnd) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(int(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            rNow = CPoint(msg.pt);
            if (std::abs(rNow.x - ptScreen.x) > m_sizeDragSensitivity.cx ||
                std::abs(rNow.y - ptScreen.y) > m_sizeDragSensitivity.cy)
                return true;
            continue;
        }
        if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONDOWN || msg.message == WM_CANCELMODE ||
            (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    return false;
}

void ZnDockablePane::OnCaptionPress(CPoint ptScreen)
{
    if (!m_hWnd || !m_pDockManager || !m_bFloatGripActive || !CanFloat())
        return;
    CPoint now = ptScreen;
    if (!WaitForDragStart(ptScreen, now))
        return;
    ZnDockingManager *mgr = m_pDockManager;
    // Where Escape puts the pane back: its group, or its place in a
    // multi-pane frame.
    bool const wasDocked = m_pDefaultDivider != nullptr;
    auto *fromMulti = dynamic_cast<ZnMultiPaneFrameWnd *>(m_pMiniFrame);
    ZnRecentPaneContainerInfo inFrame;
    if (fromMulti)
        inFrame.Store(fromMulti->GetPaneContainerManager(), this);
    // The frame takes the pane's size and keeps the mouse where it held the
    // caption.
    CRect wr;
    GetWindowRect(&wr);
    int const b = ZnPaneFrameWnd::GetBorderSize();
    CPoint const grab(ptScreen.x - wr.left + b, ptScreen.y - wr.top + b);
    CRect const rect(now.x - grab.x, now.y - grab.y, now.x - grab.x + wr.Width() + 2 * b,
                     now.y - grab.y + wr.Height() + 2 * b);
    if (!FloatPane(rect, DM_MOUSE, true) || !m_pMiniFrame) {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        return;
    }
    m_bTracked = true;
    ZnDockingManager::DropTarget target;
    ZnDockingManager::DragResult const r = mgr->TrackMiniFrameDrag(m_pMiniFrame, now, grab, target, true);
    m_bTracked = false;
    if (r == ZnDockingManager::DragDropped) {
        mgr->DropMiniFrame(m_pMiniFrame, target);
    } else if (r == ZnDockingManager::DragCancelled) {
        if (wasDocked)
            DockToRecentDockSite();
        else if (fromMulti && inFrame.IsValid())
            mgr->DockIntoFloatingPane(this, inFrame.GetRecentNeighbour(), inFrame.GetSideOfNeighbour(), 0);
    }
}
