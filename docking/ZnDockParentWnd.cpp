#include "docking/ZnDockParentWnd.h"

#include <cstdio>

#include "docking/DockElement.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingGesture.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneContainer.h"
#include "docking/ZnPaneDivider.h"
#include "window/Window.h"

IMPLEMENT_DYNAMIC(ZnDockParentWnd, CWnd)

ZnDockParentWnd::ZnDockParentWnd()
    : m_pDockingManager(nullptr), m_pDockParentWindow(nullptr), m_pFreeSpaceWnd(nullptr), m_bInStartUp(false)
{
}

ZnDockParentWnd::~ZnDockParentWnd()
{
    for (DockElement *e : m_aCapturedLayout)
        delete e;
    delete m_pDockingManager;
}

int ZnDockParentWnd::OnCreate(CREATESTRUCTA *lpCreateStruct)
{
    int const r = CWnd::OnCreate(lpCreateStruct);
    if (r == -1)
        return -1;
    if (!m_pDockingManager)
        m_pDockingManager = new ZnDockingManager;
    m_pDockingManager->Create(this);
    m_pDockingManager->EnableDocking(CBRS_ALIGN_ANY);
    return r;
}

void ZnDockParentWnd::OnDestroy()
{
    if (m_pDockingManager)
        ZnDockingManager::UnregisterDockingManager(m_pDockingManager);
    CWnd::OnDestroy();
}

void ZnDockParentWnd::SetPFreeSpaceWnd(CWnd *pWnd)
{
    m_pFreeSpaceWnd = pWnd;
    if (m_pDockingManager) {
        ZnDockingGesture gesture(m_pDockingManager);
        m_pDockingManager->RecalcLayout(true);
    }
}

void ZnDockParentWnd::OnSize(unsigned int nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_pDockingManager && nType != SIZE_MINIMIZED) {
        ZnDockingGesture gesture(m_pDockingManager);
        m_pDockingManager->RecalcLayout(true);
    }
}

bool ZnDockParentWnd::OnEraseBkgnd(HDC)
{
    // Every pixel belongs to a pane, a divider or the free space.
    return true;
}

void ZnDockParentWnd::PostClose(ZnDockablePane *pPane)
{
    if (!pPane || !pPane->GetPDockedWin())
        return;
    pPane->UnSetAutoHideMode(nullptr);
    m_aCallBacks.aPostCloseHdl.Call(pPane->GetPDockedWin());
}

void ZnDockParentWnd::OnCaptionSetFocus(ZnDockablePane *pPane)
{
    m_aCallBacks.aCaptionSetFocusHdl.Call(pPane);
}

void ZnDockParentWnd::OnDeletePane(ZnDockablePane const *pPane)
{
    m_aHiddenPanes.erase(const_cast<ZnDockablePane *>(pPane));
}

void ZnDockParentWnd::OnPaneMenuClick(ZnDockablePane const *, Point const &rPoint)
{
    Point pt = rPoint;
    m_aCallBacks.aPaneMenuClickHdl.Call(&pt);
}

void ZnDockParentWnd::OnLayoutChange()
{
    // A hidden pane put back by any road (docked, pinned) is hidden no more.
    PruneHiddenPanes();
    m_aCallBacks.aLayoutChangeHdl.Call(this);
}

void ZnDockParentWnd::NotifyBeginResizes()
{
    m_aCallBacks.aBeginResizesHdl.Call(this);
}

bool ZnDockParentWnd::CanClose(ZnDockablePane const *pPane) const
{
    if (!pPane || !pPane->GetPDockedWin())
        return true;
    return m_aCallBacks.aCanCloseHdl.Call(pPane->GetPDockedWin()) != 0;
}

bool ZnDockParentWnd::UserMayToggle(ZnDockablePane const *pPane) const
{
    if (!pPane || !pPane->GetPDockedWin())
        return true;
    return m_aCallBacks.aUserMayToggleHdl.Call(pPane->GetPDockedWin()) != 0;
}

SString ZnDockParentWnd::GetDockingMsg(int nCode) const
{
    SString text;
    DockingMsgRequest req{nCode, &text};
    m_aCallBacks.aGetDockingMsgHdl.Call(&req);
    return text;
}

namespace {

SString RectStr(CRect const &r)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, "(%ld,%ld)-(%ld,%ld)", long(r.left), long(r.top), long(r.right), long(r.bottom));
    return SString(buf);
}

} // namespace

SString ZnDockParentWnd::DumpPane(ZnDockablePane const *pPane) const
{
    if (!pPane)
        return SString("pane: none");
    char buf[64];
    std::snprintf(buf, sizeof buf, " align=%#lx depth=%d %s", pPane->GetCurrentAlignment(),
                  pPane->GetNestedDockDepth(), pPane->IsPaneVisible() ? "shown" : "hidden");
    SString out("pane '");
    out += pPane->GetInternalName();
    out += "' ";
    out += RectStr(pPane->GetLayoutRect());
    out += buf;
    return out;
}

SString ZnDockParentWnd::DumpContainer(ZnPaneContainer const *pContainer) const
{
    if (!pContainer)
        return SString("container: none");
    char buf[64];
    std::snprintf(buf, sizeof buf, " %.3f%% panes=%d", pContainer->GetPercent(), pContainer->CountPanes());
    SString out("container ");
    out += RectStr(pContainer->GetRect());
    out += buf;
    return out;
}

SString ZnDockParentWnd::DumpDivider(ZnPaneDivider const *pDivider) const
{
    if (!pDivider)
        return SString("divider: none");
    char buf[96];
    std::snprintf(buf, sizeof buf, " %s%s len=%d", pDivider->IsDefault() ? "default " : "inner ",
                  pDivider->IsVertical() ? "vertical" : "horizontal", pDivider->GetGroupLength());
    SString out("divider ");
    out += RectStr(pDivider->GetLayoutRect());
    out += buf;
    return out;
}
