// The dockable pane's tabs: tabbing a pane onto another, leaving a group.
#include "docking/ZnDockablePane.h"

#include <windows.h>

#include "docking/ZnBaseTabbedPane.h"
#include "docking/ZnDockingGesture.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneFrameWnd.h"
#include "docking/ZnTabbedPane.h"

CRuntimeClass const *ZnDockablePane::GetTabbedPaneRTC() const
{
    return m_pTabbedPaneRTC ? m_pTabbedPaneRTC : RUNTIME_CLASS(ZnTabbedPane);
}

bool ZnDockablePane::LeaveTabbedPane()
{
    ZnBaseTabbedPane *group = m_pParentTabbedPane;
    if (!group)
        return false;
    group->RemoveTab(this);
    return true;
}

void ZnDockablePane::LeaveOwnPlace()
{
    LeaveTabbedPane();
    ReleaseAutoHide();
    if (m_pDefaultDivider)
        RemoveFromDefaultPaneDivider();
    if (m_pMiniFrame && m_pDockManager)
        RemoveFromMiniframe(m_pDockManager->GetDockSiteWnd(), DM_UNKNOWN);
}

ZnDockablePane *ZnDockablePane::AttachToTabWnd(ZnDockablePane *pTarget, AFX_DOCK_METHOD dockMethod, bool bSetActive,
                                               ZnDockablePane **ppTabbedControlBar)
{
    if (ppTabbedControlBar)
        *ppTabbedControlBar = nullptr;
    ZnDockingManager *mgr = m_pDockManager;
    if (!pTarget || pTarget == this || !mgr || pTarget->GetDockingManager() != mgr || !m_hWnd ||
        !pTarget->GetSafeHwnd())
        return nullptr;
    ZnDockingGesture gesture(mgr);
    if (auto *self = dynamic_cast<ZnBaseTabbedPane *>(this)) {
        // A whole group onto a target: its tabs one by one, the active one
        // last so that it stays active; the group dissolves on the way.
        if (pTarget->GetParentTabbedPane() == self)
            return nullptr;
        std::vector<ZnDockablePane *> const tabs = self->GetTabs();
        ZnDockablePane *active = self->GetActiveTab();
        ZnDockablePane *result = nullptr;
        for (ZnDockablePane *p : tabs)
            if (p != active && p->AttachToTabWnd(pTarget, dockMethod, false, ppTabbedControlBar))
                result = p;
        if (active && active->AttachToTabWnd(pTarget, dockMethod, bSetActive, ppTabbedControlBar))
            result = active;
        return result;
    }
    auto *group = dynamic_cast<ZnBaseTabbedPane *>(pTarget);
    if (!group)
        group = pTarget->GetParentTabbedPane();
    if (!group) {
        if (!pTarget->GetDefaultPaneDivider() && !pTarget->IsFloating() && !pTarget->IsAutoHideMode())
            return nullptr;
        // Leaving first: this pane may share the target's group or frame.
        LeaveOwnPlace();
        bool const pinned = pTarget->IsAutoHideMode();
        if (pinned)
            pTarget->UnSetAutoHideMode(nullptr);
        ZnPaneFrameWnd *frame = pTarget->GetParentMiniFrame();
        if (!pTarget->GetDefaultPaneDivider() && !frame)
            return nullptr;
        CObject *made = pTarget->GetTabbedPaneRTC()->CreateObject();
        group = dynamic_cast<ZnBaseTabbedPane *>(made);
        if (!group) {
            delete made;
            return nullptr;
        }
        static_cast<ZnDockablePane *>(group)->m_pDockParentWnd = pTarget->GetPDockParentWnd();
        static_cast<ZnDockablePane *>(group)->m_pDockManager = mgr;
        CWnd *site = mgr->GetDockSiteWnd();
        CRect rect = pTarget->GetLayoutRect();
        if (!group->Create(pTarget->GetWindowText().GetStr(), site, rect, true, 0,
                           WS_CHILD | pTarget->GetCurrentAlignment(), pTarget->GetTabbedStyle(),
                           pTarget->GetControlBarStyle())) {
            delete group;
            return nullptr;
        }
        bool placed = false;
        if (pTarget->GetDefaultPaneDivider()) {
            placed = mgr->ReplacePane(pTarget, group);
            mgr->AddPane(pTarget);
        } else if (frame) {
            CRect const fr = frame->GetFrameRect();
            pTarget->RemoveFromMiniframe(site, DM_UNKNOWN);
            placed = group->FloatPane(fr, DM_UNKNOWN, true);
        }
        if (!placed || !group->InsertTab(pTarget, 0, true)) {
            group->DestroyWindow();
            return nullptr;
        }
        if (pinned)
            group->AutoHideFromExtern();
    }
    if (!group->InsertTab(this, -1, bSetActive))
        return nullptr;
    if (ppTabbedControlBar)
        *ppTabbedControlBar = group;
    return this;
}
