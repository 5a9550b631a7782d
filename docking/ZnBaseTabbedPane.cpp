#include "docking/ZnBaseTabbedPane.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "docking/ZnDockingGesture.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneFrameWnd.h"
#include "mfc/CMFCTabCtrl.h"

IMPLEMENT_DYNAMIC(ZnBaseTabbedPane, ZnDockablePane)

ZnBaseTabbedPane::ZnBaseTabbedPane(ZnDockParentWnd *pDockParentWnd) : ZnDockablePane(pDockParentWnd)
{
}

ZnBaseTabbedPane::~ZnBaseTabbedPane()
{
    for (ZnDockablePane *p : m_tabs)
        p->SetParentTabbedPane(nullptr);
    m_tabs.clear();
    delete m_pTabWnd;
}

bool ZnBaseTabbedPane::Create(char const *lpszCaption, CWnd *pParentWnd, CRect const &rect, bool bHasGripper,
                              unsigned int nID, unsigned long dwStyle, unsigned long dwTabbedStyle,
                              unsigned long dwControlBarStyle)
{
    m_dwTabbedStyle = dwTabbedStyle;
    if (!ZnDockablePane::Create(lpszCaption, pParentWnd, rect, bHasGripper, nID, dwStyle, dwTabbedStyle,
                                dwControlBarStyle))
        return false;
    m_pTabWnd = new CMFCTabCtrl;
    auto const where = (dwTabbedStyle & AFX_CBRS_OUTLOOK_TABS) ? CMFCBaseTabCtrl::LOCATION_TOP
                                                               : CMFCBaseTabCtrl::LOCATION_BOTTOM;
    if (!m_pTabWnd->Create(CMFCTabCtrl::STYLE_3D, GetStripRect(), this, 1, where)) {
        delete m_pTabWnd;
        m_pTabWnd = nullptr;
        DestroyWindow();
        return false;
    }
    return true;
}

ZnDockablePane *ZnBaseTabbedPane::GetTab(int i) const
{
    return i >= 0 && i < GetTabsNum() ? m_tabs[size_t(i)] : nullptr;
}

int ZnBaseTabbedPane::FindTab(ZnDockablePane const *pPane) const
{
    auto const it = std::find(m_tabs.begin(), m_tabs.end(), pPane);
    return it == m_tabs.end() ? -1 : int(it - m_tabs.begin());
}

CRect ZnBaseTabbedPane::GetStripRect() const
{
    CRect client;
    if (m_hWnd)
        GetClientRect(&client);
    int const h = std::min<int>(CMFCBaseTabCtrl::GetTabsHeight(), client.Height());
    if (m_dwTabbedStyle & AFX_CBRS_OUTLOOK_TABS)
        return CRect(client.left, client.top, client.right, client.top + h);
    return CRect(client.left, client.bottom - h, client.right, client.bottom);
}

CRect ZnBaseTabbedPane::GetTabAreaRect() const
{
    CRect client;
    if (m_hWnd)
        GetClientRect(&client);
    CRect const strip = GetStripRect();
    if (m_dwTabbedStyle & AFX_CBRS_OUTLOOK_TABS)
        client.top = strip.bottom;
    else
        client.bottom = strip.top;
    return client;
}

void ZnBaseTabbedPane::RecalcTabLayout()
{
    if (!m_hWnd)
        return;
    CRect const strip = GetStripRect(), area = GetTabAreaRect();
    if (m_pTabWnd && m_pTabWnd->GetSafeHwnd())
        ::SetWindowPos(m_pTabWnd->GetSafeHwnd(), nullptr, strip.left, strip.top, strip.Width(), strip.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    for (ZnDockablePane *p : m_tabs) {
        p->SetLayoutRect(area);
        if (p->GetSafeHwnd())
            ::SetWindowPos(p->GetSafeHwnd(), nullptr, area.left, area.top, area.Width(), area.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void ZnBaseTabbedPane::SyncCaption()
{
    ZnDockablePane const *active = GetActiveTab();
    SString const text = active ? active->GetWindowText() : SString();
    if (text != GetWindowText())
        SetWindowText(text.GetStr());
}

bool ZnBaseTabbedPane::SetActiveTab(int i)
{
    if (i < 0 || i >= GetTabsNum())
        return false;
    if (m_pTabWnd && m_pTabWnd->GetActiveTab() != i)
        m_pTabWnd->SetActiveTab(i);
    m_nActive = i;
    // The one shown first, so that the group never shows none in between.
    ZnDockablePane *shown = m_tabs[size_t(i)];
    shown->SetPaneVisibleFlag(true);
    if (shown->GetSafeHwnd())
        shown->ShowWindow(SW_SHOWNOACTIVATE);
    for (ZnDockablePane *p : m_tabs)
        if (p != shown) {
            p->SetPaneVisibleFlag(false);
            if (p->GetSafeHwnd())
                p->ShowWindow(SW_HIDE);
        }
    SyncCaption();
    return true;
}

bool ZnBaseTabbedPane::InsertTab(ZnDockablePane *pPane, int nIndex, bool bSetActive)
{
    if (!pPane || pPane == this || dynamic_cast<ZnBaseTabbedPane *>(pPane) || !m_hWnd || !m_pTabWnd ||
        !pPane->GetSafeHwnd() || (pPane->GetDockingManager() && pPane->GetDockingManager() != m_pDockManager))
        return false;
    ZnDockingManager *mgr = m_pDockManager;
    ZnDockingGesture gesture(mgr);
    if (pPane->GetParentTabbedPane() == this) {
        // Moved within the strip.
        int const from = FindTab(pPane);
        bool const wasActive = from == m_nActive;
        m_tabs.erase(m_tabs.begin() + from);
        m_pTabWnd->RemoveTab(from);
        int const at = nIndex < 0 ? GetTabsNum() : std::min(nIndex, GetTabsNum());
        m_tabs.insert(m_tabs.begin() + at, pPane);
        m_pTabWnd->InsertTab(pPane, pPane->GetWindowText().GetStr(), at);
        SetActiveTab(bSetActive || wasActive ? at : std::max(0, m_pTabWnd->GetActiveTab()));
        return true;
    }
    pPane->LeaveOwnPlace();
    pPane->SetParentTabbedPane(this);
    pPane->SetDockingManager(mgr);
    if (mgr)
        mgr->AddPane(pPane);
    pPane->HideCaptionForFrame(true);
    pPane->SetPaneAlignment(GetCurrentAlignment());
    if (::GetParent(pPane->GetSafeHwnd()) != m_hWnd)
        ::SetParent(pPane->GetSafeHwnd(), m_hWnd);
    int const at = nIndex < 0 ? GetTabsNum() : std::min(nIndex, GetTabsNum());
    m_tabs.insert(m_tabs.begin() + at, pPane);
    m_pTabWnd->InsertTab(pPane, pPane->GetWindowText().GetStr(), at);
    RecalcTabLayout();
    SetActiveTab(bSetActive || m_nActive < 0 ? at : m_pTabWnd->GetActiveTab());
    if (mgr) {
        mgr->RecalcLayout(true);
        mgr->OnLayoutChange();
    }
    return true;
}

bool ZnBaseTabbedPane::RemoveTab(ZnDockablePane *pPane)
{
    int const i = FindTab(pPane);
    if (i < 0)
        return false;
    ZnDockingManager *mgr = m_pDockManager;
    ZnDockingGesture gesture(mgr);
    m_tabs.erase(m_tabs.begin() + i);
    if (m_pTabWnd)
        m_pTabWnd->RemoveTab(i);
    pPane->SetParentTabbedPane(nullptr);
    pPane->SetPaneVisibleFlag(false);
    if (HWND const h = pPane->GetSafeHwnd()) {
        ::ShowWindow(h, SW_HIDE);
        CWnd *site = mgr ? mgr->GetDockSiteWnd() : nullptr;
        if (site && site->GetSafeHwnd() && ::GetParent(h) != site->GetSafeHwnd())
            ::SetParent(h, site->GetSafeHwnd());
    }
    pPane->HideCaptionForFrame(false);
    if (m_tabs.size() <= 1 && !m_bDissolving) {
        Dissolve();
        return true;
    }
    if (!m_tabs.empty())
        SetActiveTab(std::max(0, m_pTabWnd ? m_pTabWnd->GetActiveTab() : 0));
    else
        m_nActive = -1;
    if (mgr) {
        mgr->RecalcLayout(true);
        mgr->OnLayoutChange();
    }
    return false;
}

void ZnBaseTabbedPane::Dissolve()
{
    m_bDissolving = true;
    ZnDockingManager *mgr = m_pDockManager;
    ZnDockingGesture gesture(mgr);
    CWnd *site = mgr ? mgr->GetDockSiteWnd() : nullptr;
    ZnDockablePane *rest = m_tabs.empty() ? nullptr : m_tabs.front();
    if (rest) {
        m_tabs.clear();
        if (m_pTabWnd)
            m_pTabWnd->RemoveAllTabs();
        m_nActive = -1;
        rest->SetParentTabbedPane(nullptr);
        rest->SetPaneVisibleFlag(false);
        if (HWND const h = rest->GetSafeHwnd()) {
            ::ShowWindow(h, SW_HIDE);
            if (site && site->GetSafeHwnd())
                ::SetParent(h, site->GetSafeHwnd());
        }
        rest->HideCaptionForFrame(false);
    }
    // The last tab takes the group's place and size: its half of the
    // container (pinned off again when the group was), or its frame.
    bool const pinned = IsAutoHideMode();
    if (pinned)
        UnSetAutoHideMode(nullptr);
    if (rest && mgr) {
        if (GetDefaultPaneDivider()) {
            if (mgr->ReplacePane(this, rest) && pinned)
                rest->AutoHideFromExtern();
        } else if (ZnPaneFrameWnd *frame = GetParentMiniFrame()) {
            CRect const rect = frame->GetFrameRect();
            RemoveFromMiniframe(site, DM_UNKNOWN);
            rest->FloatPane(rect, DM_UNKNOWN, true);
        }
    }
    if (GetDefaultPaneDivider())
        RemoveFromDefaultPaneDivider();
    if (GetParentMiniFrame())
        RemoveFromMiniframe(site, DM_UNKNOWN);
    if (mgr) {
        mgr->RemovePaneFromDockManager(this);
        mgr->RecalcLayout(true);
        mgr->OnLayoutChange();
    }
    // The window's end deletes the object (PostNcDestroy).
    if (m_hWnd)
        DestroyWindow();
    else
        delete this;
}

void ZnBaseTabbedPane::OnPressCloseButton()
{
    if (ZnDockablePane *p = GetActiveTab())
        p->OnPressCloseButton();
}

void ZnBaseTabbedPane::DoClose()
{
    if (ZnDockablePane *p = GetActiveTab())
        p->DoClose();
}

void ZnBaseTabbedPane::OnDestroy()
{
    // Destroyed with its site: the tabs go with their windows and forget
    // the group.
    for (ZnDockablePane *p : m_tabs)
        p->SetParentTabbedPane(nullptr);
    m_tabs.clear();
    m_nActive = -1;
    ZnDockablePane::OnDestroy();
}

void ZnBaseTabbedPane::PostNcDestroy()
{
    // The library made the group; its window's end is the object's.
    delete this;
}

void ZnBaseTabbedPane::OnTabDoubleClick(int nTab)
{
    ZnDockablePane *tab = GetTab(nTab);
    if (tab && tab->CanFloat())
        tab->FloatPane(tab->GetFloatRect(), DM_DBL_CLICK, true);
}

void ZnBaseTabbedPane::OnTabPress(int nTab, CPoint ptScreen)
{
    ZnDockablePane *tab = GetTab(nTab);
    ZnDockingManager *mgr = m_pDockManager;
    if (!tab || !mgr || !m_hWnd || !tab->CanFloat())
        return;
    CPoint now = ptScreen;
    if (!WaitForDragStart(ptScreen, now))
        return;
    // The frame takes the drag over.
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    // Where Escape puts the tab back: beside a tab that stays.
    ZnDockablePane *anchor = GetTab(nTab == 0 ? 1 : 0);
    CRect wr;
    tab->GetWindowRect(&wr);
    int const b = ZnPaneFrameWnd::GetBorderSize();
    int const cap = ZnPaneFrameWnd::GetCaptionHeight();
    // The frame's caption comes under the mouse.
    CPoint const grab(std::min<int>(40, wr.Width() / 2) + b, b + cap / 2);
    CRect const rect(now.x - grab.x, now.y - grab.y, now.x - grab.x + wr.Width() + 2 * b,
                     now.y - grab.y + wr.Height() + 2 * b + cap);
    // From here on this group may be gone (a group of two dissolves).
    if (!tab->FloatPane(rect, DM_MOUSE, true) || !tab->GetParentMiniFrame())
        return;
    tab->m_bTracked = true;
    ZnDockingManager::DropTarget target;
    ZnDockingManager::DragResult const r = mgr->TrackMiniFrameDrag(tab->GetParentMiniFrame(), now, grab, target, true);
    tab->m_bTracked = false;
    if (r == ZnDockingManager::DragDropped) {
        mgr->DropMiniFrame(tab->GetParentMiniFrame(), target);
    } else if (r == ZnDockingManager::DragCancelled && anchor) {
        if (ZnBaseTabbedPane *group = anchor->GetParentTabbedPane())
            group->InsertTab(tab, nTab, true);
        else if (tab->AttachToTabWnd(anchor, DM_UNKNOWN, true) && nTab == 0)
            if (ZnBaseTabbedPane *again = tab->GetParentTabbedPane())
                again->InsertTab(tab, 0, true);
    }
}

LRESULT ZnBaseTabbedPane::WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    if (message == CMFCBaseTabCtrl::GetWmChangeActiveTab()) {
        if (int(wParam) != m_nActive)
            SetActiveTab(int(wParam));
        return 0;
    }
    if (message == CMFCBaseTabCtrl::GetWmTabPress()) {
        // Nothing of this object may be touched after the press: the drag
        // can end the group.
        OnTabPress(int(wParam), CPoint(short(LOWORD(lParam)), short(HIWORD(lParam))));
        return 0;
    }
    if (message == CMFCBaseTabCtrl::GetWmTabDblClk()) {
        OnTabDoubleClick(int(wParam));
        return 0;
    }
    LRESULT const r = ZnDockablePane::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE)
        RecalcTabLayout();
    return r;
}
