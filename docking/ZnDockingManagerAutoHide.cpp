// The docking manager's part of auto-hide: the auto-hide dock sites (the
// outermost strips of the site), their bars, and where the pinned-off panes
// lie when they are slid out.
#include "docking/ZnDockingManager.h"

#include <windows.h>

#include <algorithm>

#include "docking/DockGeometry.h"
#include "docking/ZnAutoHideBar.h"
#include "docking/ZnAutoHideButton.h"
#include "docking/ZnAutoHideDockSite.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingGesture.h"
#include "docking/ZnDummyDockablePane.h"
#include "docking/ZnPaneDivider.h"
#include "mfc/AfxWin.h"

namespace {

ZnAutoHideBar *MakeBar()
{
    CRuntimeClass const *rtc = ZnDockingManager::m_pAutoHideToolbarRTC;
    CObject *obj = rtc ? rtc->CreateObject() : nullptr;
    if (auto *bar = dynamic_cast<ZnAutoHideBar *>(obj))
        return bar;
    delete obj;
    return new ZnAutoHideBar;
}

} // namespace

bool ZnDockingManager::EnableAutoHidePanes(unsigned long dwStyle)
{
    bool ok = true;
    for (unsigned long side : {CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT, CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM}) {
        if (!(dwStyle & side) || FindAutoHideDockSite(side))
            continue;
        auto *site = new ZnAutoHideDockSite;
        site->SetDockingManager(this);
        site->SetPaneAlignment(side);
        site->SetPaneVisibleFlag(false);
        if (m_pParentWnd && m_pParentWnd->GetSafeHwnd() &&
            !site->Create(WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), m_pParentWnd, side)) {
            delete site;
            AfxMessageBox("DockBar Create FAILED");
            ok = false;
            continue;
        }
        // The strips lie outside everything else: their sites are cut first.
        POSITION after = nullptr;
        for (POSITION pos = m_lstDockSites.GetHeadPosition(); pos;) {
            POSITION const here = pos;
            if (dynamic_cast<ZnAutoHideDockSite *>(m_lstDockSites.GetNext(pos)))
                after = here;
        }
        if (after)
            m_lstDockSites.InsertAfter(after, site);
        else
            m_lstDockSites.AddHead(site);
        m_dwEnabledAutoHideBars |= side;
    }
    return ok;
}

ZnAutoHideDockSite *ZnDockingManager::FindAutoHideDockSite(unsigned long dwAlign) const
{
    for (POSITION pos = m_lstDockSites.GetHeadPosition(); pos;)
        if (auto *s = dynamic_cast<ZnAutoHideDockSite *>(m_lstDockSites.GetNext(pos)))
            if (s->GetCurrentAlignment() & dwAlign & CBRS_ALIGN_ANY)
                return s;
    return nullptr;
}

ZnAutoHideBar *ZnDockingManager::AutoHidePane(ZnDockablePane *pPane, ZnAutoHideBar *pBar)
{
    if (!pPane)
        return nullptr;
    unsigned long const side = pPane->GetCurrentAlignment();
    if (!DockGeometry::IsSide(side))
        return nullptr;
    if (pBar && !m_lstAutoHideBars.Find(pBar))
        return nullptr;
    if (!pBar) {
        ZnAutoHideDockSite *site = FindAutoHideDockSite(side);
        if (!site && EnableAutoHidePanes(side))
            site = FindAutoHideDockSite(side);
        if (!site)
            return nullptr;
        pBar = MakeBar();
        pBar->SetDockingManager(this);
        if (!pBar->Create(site, side)) {
            delete pBar;
            return nullptr;
        }
        site->AddAutoHideBar(pBar);
        m_lstAutoHideBars.AddTail(pBar);
    }
    ZnAutoHideButton *btn = pBar->AddAutoHideWindow(pPane, side);
    if (!btn)
        return nullptr;
    pPane->SetAutoHideParents(pBar, btn);
    return pBar;
}

bool ZnDockingManager::RemoveAutoHideBar(ZnAutoHideBar *pBar)
{
    POSITION pos = pBar ? m_lstAutoHideBars.Find(pBar) : nullptr;
    if (!pos || pBar->GetCount() > 0)
        return false;
    m_lstAutoHideBars.RemoveAt(pos);
    if (ZnAutoHideDockSite *site = pBar->GetParentDockSite())
        site->RemoveAutoHideBar(pBar);
    if (pBar->GetSafeHwnd())
        pBar->DestroyWindow();
    delete pBar;
    RecalcLayout(true);
    return true;
}

void ZnDockingManager::FillAutoHidePaneVec(std::vector<ZnDockablePane *> &panes) const
{
    for (POSITION pos = m_lstAutoHideBars.GetHeadPosition(); pos;) {
        auto *bar = static_cast<ZnAutoHideBar *>(m_lstAutoHideBars.GetNext(pos));
        for (int i = 0; i < bar->GetCount(); ++i)
            if (ZnDockablePane *p = bar->GetButton(i)->GetAutoHideWindow();
                p && std::find(panes.begin(), panes.end(), p) == panes.end())
                panes.push_back(p);
    }
}

void ZnDockingManager::HideAutoHidePanes(ZnDockablePane *pExcept, bool bImmediately)
{
    std::vector<ZnDockablePane *> panes;
    FillAutoHidePaneVec(panes);
    for (ZnDockablePane *p : panes)
        if (p != pExcept && p->IsSlidOut())
            p->Slide(false, !bImmediately);
}

void ZnDockingManager::SetAutohideZOrder(ZnDockablePane *pPane)
{
    if (pPane && pPane->GetSafeHwnd())
        ::SetWindowPos(pPane->GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ZnDockingManager::LayoutAutoHide()
{
    // A closed pane of a pinned group may be shown again: the group then
    // moves again.
    for (ZnPaneDivider *g : m_lstGroups)
        ZnDockablePane::FreezeGroup(g);
    for (POSITION pos = m_lstDockSites.GetHeadPosition(); pos;)
        if (auto *s = dynamic_cast<ZnAutoHideDockSite *>(m_lstDockSites.GetNext(pos)))
            s->LayoutBars();
    std::vector<ZnDockablePane *> panes;
    FillAutoHidePaneVec(panes);
    int const steps = std::max(1, ZnDockablePane::m_nSlideSteps);
    for (ZnDockablePane *p : panes) {
        // The pane grows out of the strip's inner edge step by step.
        CRect full = p->GetAHRestoredRect();
        unsigned long const align = p->GetCurrentAlignment();
        int const depth = DockGeometry::Extent(full, DockGeometry::IsHorzAxis(align));
        CRect inside = m_rectOuterEdgeBounds;
        CRect const now = p->IsSlidOut() ? DockGeometry::CutSide(inside, align, depth * p->GetSlideStep() / steps)
                                         : CRect();
        p->SetLayoutRect(now);
    }
}

void ZnDockingManager::ApplyAutoHideLayout()
{
    HWND const site = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!site)
        return;
    for (POSITION pos = m_lstDockSites.GetHeadPosition(); pos;) {
        auto *s = dynamic_cast<ZnAutoHideDockSite *>(m_lstDockSites.GetNext(pos));
        if (!s || !s->GetSafeHwnd())
            continue;
        CRect const origin = s->GetLayoutRect();
        for (ZnAutoHideBar *b : s->GetAutoHideBars()) {
            HWND const h = b->GetSafeHwnd();
            if (!h)
                continue;
            CRect r = b->GetLayoutRect();
            r.OffsetRect(-origin.left, -origin.top);
            CRect now;
            ::GetWindowRect(h, &now);
            ::MapWindowPoints(nullptr, s->GetSafeHwnd(), reinterpret_cast<POINT *>(&now), 2);
            if (now != r)
                ::SetWindowPos(h, nullptr, r.left, r.top, std::max<LONG>(0, r.Width()),
                               std::max<LONG>(0, r.Height()), SWP_NOZORDER | SWP_NOACTIVATE);
            bool const vis = (::GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0;
            if (vis != b->IsPaneVisible())
                ::ShowWindow(h, b->IsPaneVisible() ? SW_SHOWNOACTIVATE : SW_HIDE);
        }
    }
    std::vector<ZnDockablePane *> panes;
    FillAutoHidePaneVec(panes);
    for (ZnDockablePane *p : panes) {
        HWND const h = p->GetSafeHwnd();
        if (!h || ::GetParent(h) != site)
            continue;
        CRect const r = p->GetLayoutRect();
        bool const out = p->IsSlidOut() && !r.IsRectEmpty();
        if (out) {
            // The free space is the application's window: one that paints
            // over its siblings would paint over the slid-out pane too.
            if (CWnd *client = GetClientAreaWnd())
                if (HWND c = client->GetSafeHwnd(); c && !(::GetWindowLongA(c, GWL_STYLE) & WS_CLIPSIBLINGS))
                    ::SetWindowLongA(c, GWL_STYLE, ::GetWindowLongA(c, GWL_STYLE) | WS_CLIPSIBLINGS);
            ::SetWindowPos(h, HWND_TOP, r.left, r.top, r.Width(), r.Height(), SWP_NOACTIVATE);
        }
        bool const vis = (::GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0;
        if (vis != out)
            ::ShowWindow(h, out ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
}

void ZnDockingManager::DetachAutoHide()
{
    // The groups and sites go next: placeholders leave them untouched and
    // the panes forget their bars.
    std::vector<ZnDockablePane *> panes;
    FillAutoHidePaneVec(panes);
    for (ZnDockablePane *p : panes) {
        if (ZnDockablePane *holder = p->m_pAutoHidePlaceholder) {
            if (ZnPaneDivider *g = holder->GetDefaultPaneDivider())
                g->RemovePane(holder);
            holder->SetDefaultPaneDivider(nullptr);
            holder->SetDockingManager(nullptr);
        }
        p->SetAutoHideParents(nullptr, nullptr);
        p->ReleaseAutoHide();
    }
    m_lstAutoHideBars.RemoveAll();
}

bool ZnDockingManager::AddAutoHidePane(ZnBasePane *pWnd)
{
    if (auto *bar = dynamic_cast<ZnAutoHideBar *>(pWnd)) {
        if (m_lstAutoHideBars.Find(bar))
            return false;
        bar->SetDockingManager(this);
        m_lstAutoHideBars.AddTail(bar);
        if (ZnAutoHideDockSite *site = FindAutoHideDockSite(bar->GetCurrentAlignment()))
            site->AddAutoHideBar(bar);
        return true;
    }
    auto *pane = dynamic_cast<ZnDockablePane *>(pWnd);
    if (!pane)
        return false;
    if (!m_lstControlBars.Find(pane))
        AddPane(pane);
    pane->AutoHideFromExtern();
    return pane->IsAutoHideMode();
}
