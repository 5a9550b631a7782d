// Auto-hide of a dockable pane: pinning off and back, sliding out and in,
// the watch that slides it back, and the resize band of a slid-out pane.
#include "docking/ZnDockablePane.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "docking/DockGeometry.h"
#include "docking/ZnAutoHideBar.h"
#include "docking/ZnAutoHideButton.h"
#include "docking/ZnAutoHideTimer.h"
#include "docking/ZnDockingGesture.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnDummyDockablePane.h"
#include "docking/ZnPaneContainerManager.h"
#include "docking/ZnPaneDivider.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "mfc/CObList.h"

namespace {

int Scaled(int v)
{
    KSData const *data = GetPKSData();
    return data ? data->ScaleY(v) : v;
}

int Steps()
{
    return std::max(1, ZnDockablePane::m_nSlideSteps);
}

bool IsPlaceholder(ZnDockablePane const *p)
{
    return dynamic_cast<ZnDummyDockablePane const *>(p) != nullptr;
}

} // namespace

void ZnDockablePane::SetAutoHideParents(ZnAutoHideBar *pToolBar, ZnAutoHideButton *pBtn)
{
    m_pAutoHideBar = pToolBar;
    m_pAutoHideButton = pBtn;
}

void ZnDockablePane::FreezeGroup(ZnPaneDivider *pGroup)
{
    ZnPaneContainerManager *cm = pGroup ? pGroup->GetPaneContainerManager() : nullptr;
    if (!cm)
        return;
    // Only a group that pinning emptied: one whose panes are all closed
    // moves as before.
    CObList panes;
    cm->GetPanes(panes);
    bool pinned = false;
    for (POSITION pos = panes.GetHeadPosition(); pos && !pinned;)
        pinned = IsPlaceholder(static_cast<ZnDockablePane *>(panes.GetNext(pos)));
    bool const frozen = pinned && !cm->HasVisiblePane();
    pGroup->SetAutoHideMode(frozen);
    CObList inner;
    cm->GetPaneDividers(inner);
    for (POSITION pos = inner.GetHeadPosition(); pos;)
        static_cast<ZnPaneDivider *>(inner.GetNext(pos))->SetAutoHideMode(frozen);
}

bool ZnDockablePane::SetAutoHideMode(bool bMode, unsigned long dwAlignment, ZnAutoHideBar *pBar, bool)
{
    if (!bMode) {
        if (!IsAutoHideMode())
            return false;
        UnSetAutoHideMode(nullptr);
        return true;
    }
    ZnDockingManager *mgr = m_pDockManager;
    ZnPaneDivider *group = m_pDefaultDivider;
    if (!mgr || !group || IsAutoHideMode() || IsPlaceholder(this) || !IsPaneVisible() ||
        !(m_dwControlBarStyle & AFX_CBRS_AUTOHIDE))
        return false;
    dwAlignment &= CBRS_ALIGN_ANY;
    if (!DockGeometry::IsSide(dwAlignment))
        dwAlignment = group->GetCurrentAlignment();
    if (!DockGeometry::IsSide(dwAlignment))
        return false;
    ZnDockingGesture gesture(mgr);
    std::vector<ZnDockablePane *> panes{this};
    if (m_bEnableAutoHideAll) {
        CObList lst;
        group->GetPanes(lst);
        for (POSITION pos = lst.GetHeadPosition(); pos;) {
            auto *p = static_cast<ZnDockablePane *>(lst.GetNext(pos));
            // Closed panes stay in the group, hidden, as they were.
            if (p != this && !IsPlaceholder(p) && p->IsPaneVisible() && (p->m_dwControlBarStyle & AFX_CBRS_AUTOHIDE))
                panes.push_back(p);
        }
    }
    mgr->HideAutoHidePanes(nullptr, true);
    for (ZnDockablePane *p : panes) {
        if (!p->PinOff(pBar, dwAlignment)) {
            if (p == this)
                return false;
            continue;
        }
        pBar = p->m_pAutoHideBar;
    }
    FreezeGroup(group);
    mgr->RecalcLayout(true);
    mgr->OnLayoutChange();
    return true;
}

bool ZnDockablePane::PinOff(ZnAutoHideBar *pBar, unsigned long dwAlign)
{
    ZnDockingManager *mgr = m_pDockManager;
    ZnPaneDivider *group = m_pDefaultDivider;
    if (!mgr || !group)
        return false;
    // The depth it slides out to: what it had across its edge.
    int size = DockGeometry::Extent(m_rectLayout, DockGeometry::IsHorzAxis(dwAlign));
    if (size <= 0)
        size = group->GetGroupLength();
    if (size <= 0)
        size = Scaled(200);
    SetPaneAlignment(dwAlign);
    ZnAutoHideBar *bar = mgr->AutoHidePane(this, pBar);
    if (!bar)
        return false;
    auto *holder = new ZnDummyDockablePane;
    holder->SetInternalName(m_sInternalName);
    holder->SetDockingManager(mgr);
    holder->SetPaneAlignment(dwAlign);
    if (!group->ReplacePane(this, holder)) {
        holder->SetDockingManager(nullptr);
        delete holder;
        bar->RemoveAutoHideWindow(this);
        if (bar->GetCount() == 0)
            mgr->RemoveAutoHideBar(bar);
        SetAutoHideParents(nullptr, nullptr);
        return false;
    }
    holder->SetDefaultPaneDivider(group);
    m_pAutoHidePlaceholder = holder;
    m_pRestoredDefaultDivider = group;
    m_pDefaultDivider = nullptr;
    m_nAutoHideSize = size;
    m_nSlideStep = m_nSlideTarget = 0;
    m_bPaneVisible = true;
    if (m_bActive)
        SetIsActive(false);
    return true;
}

void ZnDockablePane::UnSetAutoHideMode(ZnDockablePane *)
{
    if (!IsAutoHideMode())
        return;
    ZnDockingManager *mgr = m_pDockManager;
    ZnDockingGesture gesture(mgr);
    std::vector<ZnDockablePane *> panes{this};
    if (m_bEnableAutoHideAll)
        for (int i = 0; i < m_pAutoHideBar->GetCount(); ++i)
            if (ZnDockablePane *p = m_pAutoHideBar->GetButton(i)->GetAutoHideWindow(); p != this)
                panes.push_back(p);
    for (ZnDockablePane *p : panes)
        p->PinBack();
    if (mgr) {
        mgr->RecalcLayout(true);
        mgr->OnLayoutChange();
    }
}

void ZnDockablePane::PinBack()
{
    ZnDockingManager *mgr = m_pDockManager;
    if (m_pSlideTimer)
        m_pSlideTimer->Stop();
    if (m_pWatchTimer)
        m_pWatchTimer->Stop();
    m_nSlideStep = m_nSlideTarget = 0;
    unsigned long const align = GetCurrentAlignment();
    if (ZnAutoHideBar *bar = m_pAutoHideBar) {
        bar->RemoveAutoHideWindow(this);
        if (mgr && bar->GetCount() == 0)
            mgr->RemoveAutoHideBar(bar);
    }
    SetAutoHideParents(nullptr, nullptr);
    ZnDockablePane *holder = m_pAutoHidePlaceholder;
    m_pAutoHidePlaceholder = nullptr;
    m_pRestoredDefaultDivider = nullptr;
    // The placeholder's group, if it still stands.
    ZnPaneDivider *home = nullptr;
    if (holder && mgr)
        for (ZnPaneDivider *g : mgr->GetDefaultDividers()) {
            int isLeft = 0;
            if (g->FindPaneContainer(holder, isLeft)) {
                home = g;
                break;
            }
        }
    if (home && home->ReplacePane(holder, this)) {
        m_pDefaultDivider = home;
        SetPaneAlignment(home->GetCurrentAlignment());
        FreezeGroup(home);
    } else if (mgr && DockGeometry::IsSide(align)) {
        CRect const r(0, 0, m_nAutoHideSize, m_nAutoHideSize);
        DockToDockParentWindow(align, &r, WS_VISIBLE, nullptr, -1, true);
    }
    if (holder) {
        // Out of every group now, unless its group refused the swap: then
        // its destructor takes it out.
        if (m_pDefaultDivider == home || !home) {
            holder->SetDefaultPaneDivider(nullptr);
            holder->SetDockingManager(nullptr);
        }
        delete holder;
    }
}

void ZnDockablePane::ToggleAutoHide()
{
    if (IsAutoHideMode())
        UnSetAutoHideMode(nullptr);
    else
        SetAutoHideMode(true, GetCurrentAlignment(), nullptr, true);
}

void ZnDockablePane::AutoHideFromExtern()
{
    if (IsAutoHideMode())
        return;
    // A pane that was hidden in auto-hide mode comes back pinned and hidden.
    ZnDockingGesture gesture(m_pDockManager);
    bool const hidden = !m_bPaneVisible;
    m_bPaneVisible = true;
    // Whoever pins panes again names each one that was pinned: a pane that
    // joined the group meanwhile stays docked, whatever the pin-all setting.
    bool const all = m_bEnableAutoHideAll;
    m_bEnableAutoHideAll = false;
    SetAutoHideMode(true, GetCurrentAlignment(), nullptr, false);
    m_bEnableAutoHideAll = all;
    m_bPaneVisible = !hidden;
    if (hidden && m_pDockManager)
        m_pDockManager->RecalcLayout(true);
}

void ZnDockablePane::ReleaseAutoHide()
{
    delete m_pSlideTimer;
    delete m_pWatchTimer;
    m_pSlideTimer = m_pWatchTimer = nullptr;
    m_nSlideStep = m_nSlideTarget = 0;
    if (ZnAutoHideBar *bar = m_pAutoHideBar) {
        bar->RemoveAutoHideWindow(this);
        if (m_pDockManager && bar->GetCount() == 0)
            m_pDockManager->RemoveAutoHideBar(bar);
    }
    SetAutoHideParents(nullptr, nullptr);
    if (ZnDockablePane *holder = m_pAutoHidePlaceholder) {
        // Its destructor takes it out of its group, which may then go.
        m_pAutoHidePlaceholder = nullptr;
        m_pRestoredDefaultDivider = nullptr;
        delete holder;
    }
}

bool ZnDockablePane::ShowPaneInAutoHide(bool bShow)
{
    if (!IsAutoHideMode())
        return false;
    if (bShow) {
        m_bPaneVisible = true;
        Slide(true, true);
        if (m_pDockManager) {
            ZnDockingGesture gesture(m_pDockManager);
            m_pDockManager->RecalcLayout(true);
        }
        return true;
    }
    if (!m_bHideInAutoHideMode) {
        UnSetAutoHideMode(nullptr);
        return false;
    }
    // Hidden in auto-hide mode: its button goes from the bar, it stays pinned.
    if (IsSlidOut())
        Slide(false, false);
    m_bPaneVisible = false;
    if (m_pDockManager) {
        ZnDockingGesture gesture(m_pDockManager);
        m_pDockManager->RecalcLayout(true);
        m_pDockManager->OnLayoutChange();
    }
    return true;
}

// --- sliding

CRect ZnDockablePane::GetAHRestoredRect() const
{
    if (!IsAutoHideMode() || !m_pDockManager)
        return CRect();
    CRect inside = m_pDockManager->GetOuterEdgeBounds();
    unsigned long const align = GetCurrentAlignment();
    int const room = std::max(0, DockGeometry::Extent(inside, DockGeometry::IsHorzAxis(align)));
    // A strip of the site stays uncovered, so that the mouse can leave it.
    int const depth = std::max(0, std::min(m_nAutoHideSize, room - Scaled(20)));
    return DockGeometry::CutSide(inside, align, depth);
}

void ZnDockablePane::SetAutoHideSize(int nSize)
{
    CSize min;
    GetMinSize(min);
    int const least = DockGeometry::IsHorzAxis(GetCurrentAlignment()) ? min.cx : min.cy;
    m_nAutoHideSize = std::max(least, nSize);
    if (IsAutoHideMode() && IsSlidOut() && m_pDockManager) {
        ZnDockingGesture gesture(m_pDockManager);
        m_pDockManager->RecalcLayout(true);
    }
}

bool ZnDockablePane::CheckStopSlideCondition(bool bDirection) const
{
    return bDirection ? m_nSlideStep >= Steps() : m_nSlideStep <= 0;
}

void ZnDockablePane::OnSlide(bool bSlideOut)
{
    m_nSlideStep = std::clamp(m_nSlideStep + (bSlideOut ? 1 : -1), 0, Steps());
    if (m_pDockManager) {
        // A slide is no layout change: it moves one window and tells no one.
        ZnDockingGesture gesture(m_pDockManager);
        m_pDockManager->RecalcLayout(true);
    }
}

void ZnDockablePane::Slide(bool bSlideOut, bool bUseTimer)
{
    if (!IsAutoHideMode() || !m_pDockManager || (bSlideOut && !m_bPaneVisible))
        return;
    if (bSlideOut)
        m_pDockManager->HideAutoHidePanes(this, true);
    m_nSlideTarget = bSlideOut ? Steps() : 0;
    if (m_nSlideStep == m_nSlideTarget) {
        SlideArrived();
        return;
    }
    if (bUseTimer && !m_bDisableAnimation && m_hWnd) {
        if (!m_pSlideTimer)
            m_pSlideTimer = new ZnAutoHideTimer(this, ZnAutoHideTimer::Slide);
        if (m_pSlideTimer->Begin(unsigned(std::max(1, m_nSlideDefaultTimeOut)))) {
            if (bSlideOut)
                m_pDockManager->SetAutohideZOrder(this);
            return;
        }
    }
    if (m_pSlideTimer)
        m_pSlideTimer->Stop();
    m_nSlideStep = m_nSlideTarget;
    OnSlide(bSlideOut); // clamped: lays the arrived state out
    SlideArrived();
}

bool ZnDockablePane::OnSlideTick()
{
    if (m_nSlideStep != m_nSlideTarget) {
        bool const out = m_nSlideTarget > m_nSlideStep;
        OnSlide(out);
        if (!CheckStopSlideCondition(out))
            return false;
    }
    SlideArrived();
    return true;
}

void ZnDockablePane::SlideArrived()
{
    if (m_pSlideTimer)
        m_pSlideTimer->Stop();
    if (m_nSlideStep > 0) {
        if (m_pDockManager)
            m_pDockManager->SetAutohideZOrder(this);
        m_dwLastHeld = ::GetTickCount();
        if (m_hWnd) {
            if (!m_pWatchTimer)
                m_pWatchTimer = new ZnAutoHideTimer(this, ZnAutoHideTimer::Watch);
            if (!m_pWatchTimer->IsActive())
                m_pWatchTimer->Begin(unsigned(std::clamp(m_nTimeOutBeforeAutoHide / 4, 10, 100)));
        }
    } else if (m_pWatchTimer) {
        m_pWatchTimer->Stop();
    }
    if (m_pAutoHideBar && m_pAutoHideBar->GetSafeHwnd())
        ::InvalidateRect(m_pAutoHideBar->GetSafeHwnd(), nullptr, FALSE);
}

bool ZnDockablePane::CheckAutoHideCondition()
{
    if (!IsAutoHideMode() || !IsSlidOut() || IsSliding() || !m_hWnd)
        return false;
    bool held = false;
    POINT pt{};
    ::GetCursorPos(&pt);
    RECT wr;
    if (::GetWindowRect(m_hWnd, &wr) && ::PtInRect(&wr, pt))
        held = true;
    if (!held && m_pAutoHideButton && m_pAutoHideBar && m_pAutoHideBar->GetSafeHwnd()) {
        CRect b = m_pAutoHideButton->GetRect();
        ::MapWindowPoints(m_pAutoHideBar->GetSafeHwnd(), nullptr, reinterpret_cast<POINT *>(&b), 2);
        held = ::PtInRect(&b, pt) != 0;
    }
    HWND const focus = ::GetFocus(), capture = ::GetCapture();
    if ((focus && (focus == m_hWnd || ::IsChild(m_hWnd, focus))) ||
        (capture && (capture == m_hWnd || ::IsChild(m_hWnd, capture))))
        held = true;
    DWORD const now = ::GetTickCount();
    if (held) {
        m_dwLastHeld = now;
        return false;
    }
    if (now - m_dwLastHeld < DWORD(std::max(0, m_nTimeOutBeforeAutoHide)))
        return false;
    Slide(false, true);
    return true;
}

// --- the resize band on the inner edge

unsigned int ZnDockablePane::AutoHideEdgeHit(CPoint pt) const
{
    if (!IsAutoHideMode() || !IsSlidOut() || IsSliding() || !m_hWnd)
        return 0;
    CRect wr;
    GetWindowRect(&wr);
    int const band = Scaled(5);
    switch (GetCurrentAlignment()) {
    case CBRS_ALIGN_LEFT:
        return pt.x >= wr.Width() - band ? HTRIGHT : 0;
    case CBRS_ALIGN_RIGHT:
        return pt.x < band ? HTLEFT : 0;
    case CBRS_ALIGN_TOP:
        return pt.y >= wr.Height() - band ? HTBOTTOM : 0;
    case CBRS_ALIGN_BOTTOM:
        return pt.y < band ? HTTOP : 0;
    default:
        return 0;
    }
}

void ZnDockablePane::TrackAutoHideEdge(CPoint ptScreen)
{
    unsigned long const align = GetCurrentAlignment();
    bool const horz = DockGeometry::IsHorzAxis(align);
    // Away from the edge the pane slides out from makes it deeper.
    int const sign = align == CBRS_ALIGN_LEFT || align == CBRS_ALIGN_TOP ? 1 : -1;
    int const start = m_nAutoHideSize;
    SetCapture();
    while (::GetCapture() == m_hWnd) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(int(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            CPoint p(msg.lParam);
            ::ClientToScreen(msg.hwnd, &p);
            int const delta = horz ? p.x - ptScreen.x : p.y - ptScreen.y;
            SetAutoHideSize(start + sign * delta);
            if (m_pDockManager)
                m_pDockManager->ApplyPendingLayout();
            if (msg.message == WM_LBUTTONUP)
                break;
            continue;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            SetAutoHideSize(start);
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}
