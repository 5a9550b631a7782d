// The docking manager. Sections, in order:
//   registry and class-wide settings
//   set-up and dock sites
//   the pane list
//   docking
//   layout: compute, apply, gestures
//   notices, locking
//   the panes context menu
#include "docking/ZnDockingManager.h"

#include <algorithm>

#include "docking/DockGeometry.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockSite.h"
#include "docking/ZnBaseTabbedPane.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDummyDockablePane.h"
#include "docking/ZnPaneContainerManager.h"
#include "docking/ZnPaneDivider.h"
#include "docking/ZnPaneFrameWnd.h"
#include "mfc/AfxWin.h"
#include "mfc/CFrameWnd.h"

IMPLEMENT_DYNAMIC(ZnDockingManager, CObject)

// ------------------------------------------------------------------ registry

std::map<CFrameWnd *, ZnDockingManager *> ZnDockingManager::s_registry;

int ZnDockingManager::m_nTimeOutBeforeToolBarDock = 200;
int ZnDockingManager::m_nTimeOutBeforeDockingBarDock = 220;
int ZnDockingManager::m_ahSlideModeGlobal = 1;
int ZnDockingManager::m_nDockSensitivity = 15;
int ZnDockingManager::m_bHideDockingBarsInContainerMode = 1;
AFX_DOCK_TYPE ZnDockingManager::m_dockModeGlobal = DT_STANDARD;
int ZnDockingManager::m_bRestoringDockState = 0;
int ZnDockingManager::m_bSavingState = 0;
int ZnDockingManager::m_bDisableRecalcLayout = 0;
int ZnDockingManager::m_bFullScreenMode = 0;
int ZnDockingManager::m_bIgnoreEnabledAlignment = 0;
int ZnDockingManager::m_bDockBarMenu = 0;
CRuntimeClass const *ZnDockingManager::m_pAutoHideToolbarRTC = nullptr;

namespace {

Link s_beforeGesture;
Link s_afterGesture;


unsigned int RegisteredMessage(char const *name)
{
    return ::RegisterWindowMessageA(name);
}

} // namespace

unsigned int ZnDockingManager::GetWmOnPressCloseButton()
{
    static unsigned int const msg = RegisteredMessage("ZN_WM_ON_PRESS_CLOSE_BUTTON");
    return msg;
}

unsigned int ZnDockingManager::GetWmCheckEmptyMiniFrame()
{
    static unsigned int const msg = RegisteredMessage("MSG_ZNCHECKEMPTYMINIFRAME");
    return msg;
}

unsigned int ZnDockingManager::GetWmChangeVisualManager()
{
    static unsigned int const msg = RegisteredMessage("AFX_WM_CHANGEVISUALMANAGER");
    return msg;
}

void ZnDockingManager::SetGestureHdls(Link const &before, Link const &after)
{
    s_beforeGesture = before;
    s_afterGesture = after;
}

void ZnDockingManager::RegisterDockingManager(CFrameWnd *pFrame, ZnDockingManager *pManager)
{
    s_registry.erase(pFrame);
    if (pManager)
        s_registry[pFrame] = pManager;
}

std::vector<ZnDockablePane *> ZnDockingManager::UnregisterDockingManager(ZnDockingManager *pManager)
{
    for (auto it = s_registry.begin(); it != s_registry.end();)
        it = it->second == pManager ? s_registry.erase(it) : std::next(it);
    return pManager ? pManager->DestroyMiniFrames() : std::vector<ZnDockablePane *>();
}

ZnDockingManager *ZnDockingManager::GetPDockingManager(CWnd const *pWnd)
{
    if (!pWnd)
        return nullptr;
    HWND h = pWnd->GetSafeHwnd();
    for (CWnd const *w = pWnd; w;) {
        if (auto const *pane = dynamic_cast<ZnDockablePane const *>(w))
            if (ZnDockParentWnd *dp = pane->GetPDockParentWnd())
                return dp->GetPDockingManager();
        if (auto const *dp = dynamic_cast<ZnDockParentWnd const *>(w))
            return dp->GetPDockingManager();
        HWND const cur = w->GetSafeHwnd();
        if (!cur)
            break;
        // Windows without objects of ours are walked over.
        w = nullptr;
        for (HWND p = ::GetParent(cur); p && !w; p = ::GetParent(p))
            w = CWnd::FromHandlePermanent(p);
    }
    // The frame that contains the window: the window itself or an ancestor,
    // then the top-level window it lies in.
    for (auto const &[frame, mgr] : s_registry)
        if (frame == pWnd || (h && frame->GetSafeHwnd() && ::IsChild(frame->GetSafeHwnd(), h)))
            return mgr;
    HWND const root = h ? ::GetAncestor(h, GA_ROOT) : nullptr;
    for (auto const &[frame, mgr] : s_registry)
        if (root && frame->GetSafeHwnd() == root)
            return mgr;
    return nullptr;
}

// ------------------------------------------------------------------ set-up

ZnDockingManager::ZnDockingManager()
    : m_pParentWnd(nullptr), m_hSiteWnd(nullptr), m_bLockUpdate(false), m_bIsInAdjustLayout(false), m_dwEnabledDockBars(0),
      m_dwEnabledSDBars(0), m_nGestureDepth(0), m_bApplyPending(false), m_bNotifyPending(false),
      m_bBeginResizesSent(false), m_uiCustomizeCmd(0)
{
}

ZnDockingManager::~ZnDockingManager()
{
    UnregisterDockingManager(this);
    // A frame deletes itself with its window: only a site that still exists
    // (or never had a window) is looked at.
    bool const siteAlive = !m_hSiteWnd || (::IsWindow(m_hSiteWnd) && CWnd::FromHandlePermanent(m_hSiteWnd) == m_pParentWnd);
    if (auto *frame = siteAlive ? dynamic_cast<CFrameWnd *>(m_pParentWnd) : nullptr)
        if (frame->GetDockingHost() == this)
            frame->SetDockingHost(nullptr);
    DetachEverything();
}

void ZnDockingManager::DetachEverything()
{
    // Panes outlive their manager here and there (a frame's panes are its
    // children): they forget it, the groups and dock sites go with it.
    DetachAutoHide();
    std::vector<ZnDockablePane *> panes;
    FillDockablePaneVec(panes);
    for (ZnDockablePane *p : panes) {
        p->SetDefaultPaneDivider(nullptr);
        p->SetRestoredDefaultPaneDivider(nullptr);
        p->SetDockingManager(nullptr);
    }
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos;)
        if (auto *b = dynamic_cast<ZnBasePane *>(m_lstControlBars.GetNext(pos)))
            b->SetDockingManager(nullptr);
    m_lstControlBars.RemoveAll();
    std::vector<ZnPaneDivider *> groups;
    groups.swap(m_lstGroups);
    for (ZnPaneDivider *d : groups) {
        if (d->GetSafeHwnd())
            d->DestroyWindow();
        delete d;
    }
    for (POSITION pos = m_lstDockSites.GetHeadPosition(); pos;) {
        auto *site = static_cast<ZnDockSite *>(m_lstDockSites.GetNext(pos));
        if (site->GetSafeHwnd())
            site->DestroyWindow();
        delete site;
    }
    m_lstDockSites.RemoveAll();
}

bool ZnDockingManager::Create(CWnd *pParentWnd)
{
    m_pParentWnd = pParentWnd;
    m_hSiteWnd = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    if (auto *frame = dynamic_cast<CFrameWnd *>(pParentWnd)) {
        RegisterDockingManager(frame, this);
        frame->SetDockingHost(this);
    }
    return pParentWnd != nullptr;
}

void ZnDockingManager::OnFrameDestroyed()
{
    UnregisterDockingManager(this);
    DetachEverything();
    m_pParentWnd = nullptr;
    m_hSiteWnd = nullptr;
}

ZnDockParentWnd *ZnDockingManager::GetDockParentWnd() const
{
    return dynamic_cast<ZnDockParentWnd *>(m_pParentWnd);
}

void ZnDockingManager::SetDockSiteRect(CRect const &rect)
{
    ZnDockingGesture gesture(this);
    m_rectSite = rect;
    RecalcLayout(true);
}

CRect ZnDockingManager::GetDockSiteRect() const
{
    if (m_pParentWnd && m_pParentWnd->GetSafeHwnd()) {
        CRect r;
        m_pParentWnd->GetClientRect(&r);
        return r;
    }
    return m_rectSite;
}

CWnd *ZnDockingManager::GetClientAreaWnd() const
{
    if (ZnDockParentWnd *dp = GetDockParentWnd())
        return dp->GetPFreeSpaceWnd();
    if (m_pParentWnd && m_pParentWnd->GetSafeHwnd())
        if (HWND view = ::GetDlgItem(m_pParentWnd->GetSafeHwnd(), AFX_IDW_PANE_FIRST))
            return CWnd::FromHandle(view);
    return nullptr;
}

bool ZnDockingManager::IsValidAlign(unsigned long dwAlign) const
{
    return DockGeometry::IsSide(dwAlign & CBRS_ALIGN_ANY) &&
           (m_bIgnoreEnabledAlignment || (m_dwEnabledDockBars & dwAlign & CBRS_ALIGN_ANY));
}

bool ZnDockingManager::EnableDocking(unsigned long dwDockStyle)
{
    bool ok = true;
    for (unsigned long side : {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT}) {
        if (!(dwDockStyle & side) || FindDockSite(side, true))
            continue;
        AFX_DOCKSITE_INFO info{side, RUNTIME_CLASS(ZnDockSite)};
        if (!AddDockSite(info))
            ok = false;
        else
            m_dwEnabledDockBars |= side;
    }
    return ok;
}

namespace {

ZnDockSite *MakeDockSite(AFX_DOCKSITE_INFO const &info, CWnd *pParent, ZnDockingManager *pMgr)
{
    CObject *obj = info.pDockBarRTC ? info.pDockBarRTC->CreateObject() : nullptr;
    auto *site = dynamic_cast<ZnDockSite *>(obj);
    if (!site) {
        delete obj;
        return nullptr;
    }
    site->SetDockingManager(pMgr);
    site->SetPaneAlignment(info.m_dwBarAlignment);
    if (pParent && pParent->GetSafeHwnd() &&
        !site->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pParent, info.m_dwBarAlignment & CBRS_ALIGN_ANY)) {
        delete site;
        return nullptr;
    }
    return site;
}

} // namespace

bool ZnDockingManager::AddDockSite(AFX_DOCKSITE_INFO const &info, ZnDockSite **ppDockBar)
{
    return InsertDockSite(info, 0, ppDockBar);
}

bool ZnDockingManager::InsertDockSite(AFX_DOCKSITE_INFO const &info, unsigned long dwAlignToInsertAfter,
                                      ZnDockSite **ppDockBar)
{
    if (ppDockBar)
        *ppDockBar = nullptr;
    ZnDockSite *site = MakeDockSite(info, m_pParentWnd, this);
    if (!site) {
        AfxMessageBox("DockBar Create FAILED");
        return false;
    }
    POSITION after = nullptr;
    if (dwAlignToInsertAfter)
        for (POSITION pos = m_lstDockSites.GetHeadPosition(); pos;) {
            POSITION const here = pos;
            auto *s = static_cast<ZnDockSite *>(m_lstDockSites.GetNext(pos));
            if (s->GetCurrentAlignment() & dwAlignToInsertAfter)
                after = here;
        }
    if (after)
        m_lstDockSites.InsertAfter(after, site);
    else
        m_lstDockSites.AddTail(site);
    if (ppDockBar)
        *ppDockBar = site;
    return true;
}

ZnDockSite *ZnDockingManager::FindDockSite(unsigned long dwAlignment, bool bOuter) const
{
    ZnDockSite *found = nullptr;
    for (POSITION pos = m_lstDockSites.GetHeadPosition(); pos;) {
        auto *s = static_cast<ZnDockSite *>(m_lstDockSites.GetNext(pos));
        if (s->GetCurrentAlignment() & dwAlignment & CBRS_ALIGN_ANY) {
            if (bOuter)
                return s;
            found = s;
        }
    }
    return found;
}

// ------------------------------------------------------------------ the pane list

bool ZnDockingManager::AddPane(ZnBasePane *pWnd, bool bTail, bool bAutoHide, bool)
{
    if (bAutoHide)
        return AddAutoHidePane(pWnd);
    if (!pWnd || m_lstControlBars.Find(pWnd))
        return false;
    if (bTail)
        m_lstControlBars.AddTail(pWnd);
    else
        m_lstControlBars.AddHead(pWnd);
    pWnd->SetDockingManager(this);
    return true;
}

bool ZnDockingManager::InsertPane(ZnBasePane *pControlBar, ZnBasePane *pTarget, bool bAfter)
{
    if (!pControlBar || m_lstControlBars.Find(pControlBar))
        return false;
    POSITION pos = m_lstControlBars.Find(pTarget);
    if (!pos)
        return false;
    if (bAfter)
        m_lstControlBars.InsertAfter(pos, pControlBar);
    else
        m_lstControlBars.InsertBefore(pos, pControlBar);
    pControlBar->SetDockingManager(this);
    return true;
}

void ZnDockingManager::RemovePaneFromDockManager(ZnBasePane *pWnd, bool bDestroy, bool bAdjustLayout, bool,
                                                 ZnBasePane *pBarReplacement)
{
    if (!pWnd)
        return;
    ZnDockingGesture gesture(this);
    if (auto *pane = dynamic_cast<ZnDockablePane *>(pWnd))
        if (ZnPaneFrameWnd *frame = pane->GetParentMiniFrame())
            frame->RemovePane(pane);
    if (POSITION pos = m_lstControlBars.Find(pWnd)) {
        if (pBarReplacement)
            m_lstControlBars.SetAt(pos, pBarReplacement);
        else
            m_lstControlBars.RemoveAt(pos);
    }
    if (auto *d = dynamic_cast<ZnPaneDivider *>(pWnd))
        RemoveDefaultDivider(d);
    if (bDestroy && pWnd->GetSafeHwnd())
        pWnd->DestroyWindow();
    if (bAdjustLayout)
        RecalcLayout(true);
}

void ZnDockingManager::GetPaneList(CObList &lstBars, bool, CRuntimeClass const *pRTCFilter, bool) const
{
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos;) {
        CObject *o = m_lstControlBars.GetNext(pos);
        if (!pRTCFilter || o->IsKindOf(pRTCFilter))
            lstBars.AddTail(o);
    }
}

ZnBasePane *ZnDockingManager::FindPaneByID(unsigned int uBarID, bool bSearchMiniFrames) const
{
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos;) {
        auto *b = dynamic_cast<ZnBasePane *>(m_lstControlBars.GetNext(pos));
        auto const *pane = dynamic_cast<ZnDockablePane const *>(b);
        if (!bSearchMiniFrames && pane && pane->IsFloating())
            continue;
        if (b && b->GetSafeHwnd() && unsigned(b->GetDlgCtrlID()) == uBarID)
            return b;
    }
    return nullptr;
}

void ZnDockingManager::FillDockablePaneVec(std::vector<ZnDockablePane *> &panes) const
{
    auto add = [&panes](ZnDockablePane *p) {
        if (p && std::find(panes.begin(), panes.end(), p) == panes.end())
            panes.push_back(p);
    };
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos;)
        add(dynamic_cast<ZnDockablePane *>(m_lstControlBars.GetNext(pos)));
    for (ZnPaneDivider *d : m_lstGroups) {
        CObList lst;
        d->GetPanes(lst);
        for (POSITION pos = lst.GetHeadPosition(); pos;)
            if (auto *p = static_cast<ZnDockablePane *>(lst.GetNext(pos)); !dynamic_cast<ZnDummyDockablePane *>(p))
                add(p);
    }
}

bool ZnDockingManager::ReplacePane(ZnDockablePane *pOriginalBar, ZnDockablePane *pNewBar)
{
    if (!pOriginalBar || !pNewBar || pOriginalBar == pNewBar || pNewBar->GetDefaultPaneDivider())
        return false;
    ZnDockingGesture gesture(this);
    ZnPaneDivider *d = pOriginalBar->GetDefaultPaneDivider();
    if (d && !d->ReplacePane(pOriginalBar, pNewBar))
        return false;
    if (POSITION pos = m_lstControlBars.Find(pOriginalBar)) {
        if (m_lstControlBars.Find(pNewBar))
            m_lstControlBars.RemoveAt(pos);
        else
            m_lstControlBars.SetAt(pos, pNewBar);
    }
    pNewBar->SetDockingManager(this);
    if (d) {
        pNewBar->SetDefaultPaneDivider(d);
        pNewBar->SetPaneAlignment(pOriginalBar->GetCurrentAlignment());
        pNewBar->RemoveFromMiniframe(m_pParentWnd, DM_UNKNOWN);
        pNewBar->SetPaneVisibleFlag(pOriginalBar->IsPaneVisible());
        pOriginalBar->SetDefaultPaneDivider(nullptr);
        pOriginalBar->SetPaneVisibleFlag(false);
        if (pOriginalBar->GetSafeHwnd())
            pOriginalBar->ShowWindow(SW_HIDE);
        if (pNewBar->GetSafeHwnd())
            pNewBar->ShowWindow(pNewBar->IsPaneVisible() ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
    RecalcLayout(true);
    OnLayoutChange();
    return true;
}

std::vector<ZnPaneDivider *> ZnDockingManager::GetDefaultDividers() const
{
    return m_lstGroups;
}

void ZnDockingManager::AddDefaultDivider(ZnPaneDivider *pDivider, bool bOuterEdge)
{
    if (!pDivider || std::find(m_lstGroups.begin(), m_lstGroups.end(), pDivider) != m_lstGroups.end())
        return;
    pDivider->SetDockingManager(this);
    if (bOuterEdge)
        m_lstGroups.insert(m_lstGroups.begin(), pDivider);
    else
        m_lstGroups.push_back(pDivider);
}

void ZnDockingManager::RemoveDefaultDivider(ZnPaneDivider *pDivider)
{
    m_lstGroups.erase(std::remove(m_lstGroups.begin(), m_lstGroups.end(), pDivider), m_lstGroups.end());
}

void ZnDockingManager::ReleaseEmptyPaneContainers()
{
    ZnDockingGesture gesture(this);
    std::vector<ZnPaneDivider *> const groups = m_lstGroups;
    for (ZnPaneDivider *d : groups) {
        d->ReleaseEmptyPaneContainers();
        ZnPaneContainerManager *cm = d->GetPaneContainerManager();
        if (cm && !cm->IsEmpty())
            continue;
        RemoveDefaultDivider(d);
        RemovePaneFromDockManager(d);
        if (d->GetSafeHwnd())
            d->DestroyWindow();
        delete d;
    }
    RecalcLayout(true);
}

// ------------------------------------------------------------------ docking

bool ZnDockingManager::DockIntoParent(ZnDockablePane *pPane, unsigned long align, int len, bool bAddToManager)
{
    if (!pPane)
        return false;
    ZnDockingGesture gesture(this);
    pPane->SetPaneStyle((pPane->GetPaneStyle() & ~CBRS_ALIGN_ANY) | (align & CBRS_ALIGN_ANY));
    if (m_rectClientAreaBounds.IsRectNull())
        ComputeLayout();
    CRect const bounds = m_rectClientAreaBounds;
    CRect rect(0, 0, len + 1, len + 1);
    if (align & CBRS_ORIENT_VERT)
        rect.right = std::max(0, std::min<int>(rect.right, bounds.right - bounds.left - 40));
    else
        rect.bottom = std::max(0, std::min<int>(rect.bottom, bounds.bottom - bounds.top - 40));
    if (!pPane->GetDockingManager())
        pPane->SetDockingManager(this);
    bool const ok = pPane->DockToDockParentWindow(align, len ? &rect : nullptr, WS_VISIBLE, nullptr, -1,
                                                  bAddToManager);
    if (!m_bRestoringDockState) {
        if (pPane->GetSafeHwnd())
            pPane->SetFocus();
        RecalcLayout(true);
        if (GetDockParentWnd())
            OnLayoutChange();
    }
    return ok;
}

bool ZnDockingManager::DockIntoPane(ZnDockablePane *pPane, ZnDockablePane *pTarget, unsigned long align, int len)
{
    align &= CBRS_ALIGN_ANY;
    // A tab beside its own group: leaving the group may end it.
    if (pPane && pTarget && static_cast<ZnDockablePane *>(pPane->GetParentTabbedPane()) == pTarget)
        return false;
    if (pTarget && pTarget->IsFloating())
        return DockIntoFloatingPane(pPane, pTarget, align, len);
    // Refused before anything moves, so the pane stays where it was.
    if (!pPane || !pTarget || pPane == pTarget || !DockGeometry::IsSide(align) || !pTarget->GetDefaultPaneDivider() ||
        pTarget->GetDockingManager() != this)
        return false;
    ZnDockingGesture gesture(this);
    pPane->LeaveTabbedPane();
    pPane->SetPaneStyle((pPane->GetPaneStyle() & ~CBRS_ALIGN_ANY) | align);
    pPane->ReleaseAutoHide();
    ZnPaneContainerManager holder;
    holder.Create(m_pParentWnd, nullptr);
    if (pPane->GetDefaultPaneDivider())
        pPane->RemoveFromDefaultPaneDivider();
    AddPane(pPane);
    holder.AddPane(pPane);
    bool ok = pTarget->DockPaneContainer(holder, align, DM_UNKNOWN);
    if (len != 0 && ok) {
        RecalcLayout(true);
        ok = pPane->SetSizeInContainer(len);
        OnLayoutChange();
    }
    ReleaseEmptyPaneContainers();
    return ok;
}

void ZnDockingManager::DockPane(ZnBasePane *pBar, unsigned int nDockBarID, RECT const *lpRect)
{
    auto *pane = dynamic_cast<ZnDockablePane *>(pBar);
    if (!pane)
        return;
    unsigned long align = 0;
    switch (nDockBarID) {
    case AFX_IDW_DOCKBAR_TOP:
        align = CBRS_ALIGN_TOP;
        break;
    case AFX_IDW_DOCKBAR_LEFT:
        align = CBRS_ALIGN_LEFT;
        break;
    case AFX_IDW_DOCKBAR_RIGHT:
        align = CBRS_ALIGN_RIGHT;
        break;
    case AFX_IDW_DOCKBAR_BOTTOM:
        align = CBRS_ALIGN_BOTTOM;
        break;
    default: {
        unsigned long const wanted = pane->GetCurrentAlignment() ? pane->GetCurrentAlignment() : CBRS_ALIGN_ANY;
        for (unsigned long side : {CBRS_ALIGN_LEFT, CBRS_ALIGN_TOP, CBRS_ALIGN_RIGHT, CBRS_ALIGN_BOTTOM})
            if ((wanted & side) && (m_dwEnabledDockBars & side)) {
                align = side;
                break;
            }
        break;
    }
    }
    if (!align)
        align = pane->GetCurrentAlignment() & CBRS_ALIGN_LEFT ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
    // The side's dock site must exist first.
    if (!FindDockSite(align, true) && !EnableDocking(align))
        return;
    ZnDockingGesture gesture(this);
    AddPane(pane);
    pane->DockToDockParentWindow(align, lpRect, WS_VISIBLE, nullptr, -1, true);
    OnLayoutChange();
}

bool ZnDockingManager::DockPaneLeftOf(ZnPane *pBarToDock, ZnPane *pTargetBar)
{
    return DockIntoPane(dynamic_cast<ZnDockablePane *>(pBarToDock), dynamic_cast<ZnDockablePane *>(pTargetBar),
                        CBRS_ALIGN_LEFT, 0);
}

// ------------------------------------------------------------------ layout

void ZnDockingManager::ComputeLayout()
{
    m_bIsInAdjustLayout = true;
    CRect r = GetDockSiteRect();
    for (POSITION pos = m_lstDockSites.GetHeadPosition(); pos;) {
        auto *s = static_cast<ZnDockSite *>(m_lstDockSites.GetNext(pos));
        s->SetLayoutRect(DockGeometry::CutSide(r, s->GetCurrentAlignment(), s->GetThickness()));
    }
    m_rectOuterEdgeBounds = r;
    LayoutAutoHide();
    for (ZnPaneDivider *d : m_lstGroups) {
        ZnPaneContainerManager *cm = d->GetPaneContainerManager();
        unsigned long const align = d->GetCurrentAlignment();
        bool const horz = DockGeometry::IsHorzAxis(align);
        if (!cm || !cm->HasVisiblePane()) {
            d->SetPaneVisibleFlag(false);
            CRect const none(r.left, r.top, r.left, r.top);
            d->SetLayoutRect(none);
            if (cm)
                cm->Layout(none);
            continue;
        }
        int const room = std::max(0, DockGeometry::Extent(r, horz));
        d->SetGroupRoom(room);
        int const minClient = horz ? GetMinClientAreaWidth() : GetMinClientAreaHeight();
        // Outer groups first; each keeps its length while the client area
        // can still have its minimum, and gives way when it cannot.
        int const len = std::min(d->GetGroupLength(), std::max(0, room - d->GetWidth() - minClient));
        CRect const group = DockGeometry::CutSide(r, align, len);
        d->SetLayoutRect(DockGeometry::CutSide(r, align, d->GetWidth()));
        d->SetPaneVisibleFlag(true);
        cm->Layout(group);
    }
    m_rectClientAreaBounds = r;
    CalcMiniFrameLayouts();
    m_bIsInAdjustLayout = false;
}

namespace {

struct Placement
{
    CWnd *wnd;
    CRect rect;
    bool visible;
};

void CollectPlacements(ZnPaneDivider *d, std::vector<Placement> &out)
{
    out.push_back({d, d->GetLayoutRect(), d->IsPaneVisible()});
    CObList panes, dividers;
    d->GetPanes(panes);
    d->GetPaneDividers(dividers);
    for (POSITION pos = panes.GetHeadPosition(); pos;) {
        auto *p = static_cast<ZnDockablePane *>(panes.GetNext(pos));
        out.push_back({p, p->GetLayoutRect(), p->IsPaneVisible()});
    }
    for (POSITION pos = dividers.GetHeadPosition(); pos;) {
        auto *x = static_cast<ZnPaneDivider *>(dividers.GetNext(pos));
        out.push_back({x, x->GetLayoutRect(), x->IsPaneVisible()});
    }
}

} // namespace

void ZnDockingManager::ApplyLayout()
{
    m_bApplyPending = false;
    HWND const site = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!site)
        return;
    std::vector<Placement> all;
    for (POSITION pos = m_lstDockSites.GetHeadPosition(); pos;) {
        auto *s = static_cast<ZnDockSite *>(m_lstDockSites.GetNext(pos));
        all.push_back({s, s->GetLayoutRect(), s->IsPaneVisible()});
    }
    for (ZnPaneDivider *d : m_lstGroups)
        CollectPlacements(d, all);
    if (CWnd *client = GetClientAreaWnd())
        all.push_back({client, m_rectClientAreaBounds, true});

    std::vector<Placement> moves;
    for (Placement const &p : all) {
        HWND const h = p.wnd->GetSafeHwnd();
        if (!h || ::GetParent(h) != site)
            continue;
        CRect now;
        ::GetWindowRect(h, &now);
        ::MapWindowPoints(nullptr, site, reinterpret_cast<POINT *>(&now), 2);
        if (now != p.rect)
            moves.push_back(p);
    }
    if (!moves.empty()) {
        HDWP hdwp = ::BeginDeferWindowPos(int(std::max<size_t>(moves.size(), 50)));
        for (Placement const &p : moves)
            if (hdwp)
                hdwp = ::DeferWindowPos(hdwp, p.wnd->GetSafeHwnd(), nullptr, p.rect.left, p.rect.top,
                                        std::max<LONG>(0, p.rect.Width()), std::max<LONG>(0, p.rect.Height()),
                                        SWP_NOZORDER | SWP_NOACTIVATE);
        if (hdwp)
            ::EndDeferWindowPos(hdwp);
    }
    // Visibility through ShowWindow, so that every window hears of it.
    for (Placement const &p : all) {
        HWND const h = p.wnd->GetSafeHwnd();
        if (!h || ::GetParent(h) != site)
            continue;
        bool const vis = (::GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0;
        if (vis != p.visible)
            ::ShowWindow(h, p.visible ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
    ApplyAutoHideLayout();
    ApplyMiniFrameLayouts();
}

void ZnDockingManager::RecalcLayout(bool, void *)
{
    if (m_bDisableRecalcLayout)
        return;
    ComputeLayout();
    m_bApplyPending = true;
    if (!IsInGesture())
        ApplyLayout();
}

void ZnDockingManager::AdjustDockingLayout(void *)
{
    ComputeLayout();
    ApplyLayout();
}

void ZnDockingManager::ApplyPendingLayout()
{
    if (m_bApplyPending)
        ApplyLayout();
}

void ZnDockingManager::LayoutDockedPanes(RECT &rClient)
{
    {
        ZnDockingGesture gesture(this);
        RecalcLayout(true);
    }
    rClient = m_rectClientAreaBounds;
}

void ZnDockingManager::ForceAdjustLayout(bool bForce, bool bEvenIfHidden)
{
    if (!bForce && !ZnPane::m_bHandleMinSize)
        return;
    HWND const site = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!site || (!::IsWindowVisible(site) && !bEvenIfHidden))
        return;
    CRect r;
    ::GetWindowRect(site, &r);
    ::SendMessageA(site, WM_SETREDRAW, FALSE, 0);
    UINT const flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    ::SetWindowPos(site, nullptr, 0, 0, r.Width() + 1, r.Height() + 1, flags);
    ::SetWindowPos(site, nullptr, 0, 0, r.Width(), r.Height(), flags);
    ::SendMessageA(site, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(site, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool ZnDockingManager::AdjustRectToClientArea(CRect &rectWnd, unsigned long dwAlignment)
{
    CRect const ca = m_rectClientAreaBounds;
    CRect const before = rectWnd;
    int const w = std::max(0, std::min<int>(rectWnd.Width(), ca.Width()));
    int const h = std::max(0, std::min<int>(rectWnd.Height(), ca.Height()));
    switch (dwAlignment & CBRS_ALIGN_ANY) {
    case CBRS_ALIGN_LEFT:
        rectWnd = CRect(ca.left, ca.top, ca.left + w, ca.bottom);
        break;
    case CBRS_ALIGN_RIGHT:
        rectWnd = CRect(ca.right - w, ca.top, ca.right, ca.bottom);
        break;
    case CBRS_ALIGN_TOP:
        rectWnd = CRect(ca.left, ca.top, ca.right, ca.top + h);
        break;
    case CBRS_ALIGN_BOTTOM:
        rectWnd = CRect(ca.left, ca.bottom - h, ca.right, ca.bottom);
        break;
    default:
        return false;
    }
    return rectWnd != before;
}

bool ZnDockingManager::IsPointNearDockSite(CPoint point, unsigned long &dwBarAlignment, bool &bOuterEdge) const
{
    dwBarAlignment = 0;
    bOuterEdge = false;
    POINT origin{0, 0};
    if (m_pParentWnd && m_pParentWnd->GetSafeHwnd())
        ::ClientToScreen(m_pParentWnd->GetSafeHwnd(), &origin);
    CPoint const pt(point.x - origin.x, point.y - origin.y);
    int const s = m_nDockSensitivity;
    // The outer edges of the site first, then those of the client area.
    for (bool outer : {true, false}) {
        CRect const r = outer ? m_rectOuterEdgeBounds : m_rectClientAreaBounds;
        if (pt.x < r.left - (outer ? 0 : s) || pt.x >= r.right + (outer ? 0 : s) || pt.y < r.top - (outer ? 0 : s) ||
            pt.y >= r.bottom + (outer ? 0 : s))
            continue;
        if (pt.x < r.left + s)
            dwBarAlignment = CBRS_ALIGN_LEFT;
        else if (pt.x >= r.right - s)
            dwBarAlignment = CBRS_ALIGN_RIGHT;
        else if (pt.y < r.top + s)
            dwBarAlignment = CBRS_ALIGN_TOP;
        else if (pt.y >= r.bottom - s)
            dwBarAlignment = CBRS_ALIGN_BOTTOM;
        if (dwBarAlignment) {
            bOuterEdge = outer;
            return true;
        }
    }
    return false;
}

void ZnDockingManager::BeginGesture()
{
    if (m_nGestureDepth++ == 0) {
        m_bBeginResizesSent = false;
        s_beforeGesture.Call(this);
    }
}

void ZnDockingManager::EndGesture()
{
    if (m_nGestureDepth <= 0 || --m_nGestureDepth > 0)
        return;
    if (m_bApplyPending) {
        ComputeLayout();
        ApplyLayout();
    }
    bool const notify = m_bNotifyPending;
    m_bNotifyPending = false;
    m_bBeginResizesSent = false;
    if (notify)
        if (ZnDockParentWnd *dp = GetDockParentWnd())
            dp->OnLayoutChange();
    s_afterGesture.Call(this);
}

// ------------------------------------------------------------------ notices

void ZnDockingManager::NotifyStandBy()
{
    for (POSITION pos = m_lstMiniFrames.GetHeadPosition(); pos;)
        if (auto *w = dynamic_cast<CWnd *>(m_lstMiniFrames.GetNext(pos)))
            w->ShowWindow(SW_HIDE);
}

void ZnDockingManager::NotifyWakeUp()
{
    for (POSITION pos = m_lstMiniFrames.GetHeadPosition(); pos;)
        if (auto *w = dynamic_cast<CWnd *>(m_lstMiniFrames.GetNext(pos)))
            w->ShowWindow(SW_SHOWNORMAL);
}

void ZnDockingManager::NotifyBeginResizes()
{
    if (IsInGesture()) {
        if (m_bBeginResizesSent)
            return;
        m_bBeginResizesSent = true;
    }
    if (ZnDockParentWnd *dp = GetDockParentWnd())
        dp->NotifyBeginResizes();
}

void ZnDockingManager::OnLayoutChange()
{
    if (IsInGesture()) {
        m_bNotifyPending = true;
        return;
    }
    if (ZnDockParentWnd *dp = GetDockParentWnd())
        dp->OnLayoutChange();
}

void ZnDockingManager::LockUpdate(bool bLock)
{
    // No smart-docking drag can be under way while no manager has guides,
    // so a lock is always taken.
    m_bLockUpdate = bLock;
    auto lock = [bLock](CWnd *w) {
        HWND const h = w ? w->GetSafeHwnd() : nullptr;
        if (!h)
            return;
        if (bLock) {
            ::UpdateWindow(h);
            ::SendMessageA(h, WM_SETREDRAW, FALSE, 0);
        } else {
            ::SendMessageA(h, WM_SETREDRAW, TRUE, 0);
            ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
    };
    lock(m_pParentWnd);
    for (POSITION pos = m_lstMiniFrames.GetHeadPosition(); pos;)
        lock(dynamic_cast<CWnd *>(m_lstMiniFrames.GetNext(pos)));
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos;)
        lock(dynamic_cast<CWnd *>(m_lstControlBars.GetNext(pos)));
}

// ------------------------------------------------------------------ the panes context menu

void ZnDockingManager::EnablePaneContextMenu(bool bEnable, unsigned int uiCustomizeCmd, SString const *, bool)
{
    m_bDockBarMenu = bEnable ? 1 : 0;
    m_uiCustomizeCmd = uiCustomizeCmd;
}

HMENU ZnDockingManager::BuildPanesMenu(bool)
{
    HMENU menu = ::CreatePopupMenu();
    if (!menu)
        return nullptr;
    std::vector<ZnDockablePane *> panes;
    FillDockablePaneVec(panes);
    for (ZnDockablePane *p : panes) {
        if (!p->GetSafeHwnd())
            continue;
        SString const text = p->GetWindowText();
        ::AppendMenuA(menu, MF_STRING | (p->IsPaneVisible() ? MF_CHECKED : MF_UNCHECKED),
                      unsigned(p->GetDlgCtrlID()), text.GetStr());
    }
    return menu;
}

bool ZnDockingManager::OnPaneContextMenu(CPoint point)
{
    if (!m_bDockBarMenu || !m_pParentWnd || !m_pParentWnd->GetSafeHwnd())
        return false;
    HMENU menu = BuildPanesMenu();
    if (!menu)
        return false;
    int const cmd = ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, point.x, point.y, 0,
                                     m_pParentWnd->GetSafeHwnd(), nullptr);
    ::DestroyMenu(menu);
    if (cmd > 0)
        ProcessPaneContextMenuCommand(unsigned(cmd));
    return true;
}

ZnDockablePane *ZnDockingManager::PaneOfId(unsigned int nID) const
{
    std::vector<ZnDockablePane *> panes;
    FillDockablePaneVec(panes);
    for (ZnDockablePane *p : panes)
        if (p->GetSafeHwnd() && unsigned(p->GetDlgCtrlID()) == nID)
            return p;
    return nullptr;
}

bool ZnDockingManager::ProcessPaneContextMenuCommand(unsigned int nID)
{
    ZnDockablePane *p = PaneOfId(nID);
    if (!p)
        return false;
    ZnDockingGesture gesture(this);
    p->ShowPane(!p->IsPaneVisible(), false, true);
    OnLayoutChange();
    return true;
}
