// The dock parent window's part of auto-hide: showing a pinned-off pane and
// taking every pane out of auto-hide around a layout capture.
#include "docking/ZnDockParentWnd.h"

#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingGesture.h"
#include "docking/ZnDockingManager.h"

bool ZnDockParentWnd::ShowAutoHiddenPane(ZnDockablePane *pPane)
{
    if (!pPane || !pPane->IsAutoHideMode() || !m_pDockingManager)
        return false;
    ZnDockingGesture gesture(m_pDockingManager);
    pPane->UnSetAutoHideMode(nullptr);
    m_pDockingManager->RecalcLayout(true);
    m_pDockingManager->OnLayoutChange();
    return true;
}

std::vector<ZnDockablePane *> ZnDockParentWnd::UnAutoHideAllPanes()
{
    std::vector<ZnDockablePane *> panes;
    if (!m_pDockingManager)
        return panes;
    m_pDockingManager->FillAutoHidePaneVec(panes);
    if (panes.empty())
        return panes;
    ZnDockingGesture gesture(m_pDockingManager);
    for (ZnDockablePane *p : panes)
        if (p->IsAutoHideMode()) {
            // One pane at a time, so that each comes back alone whatever
            // the pin of its group would take with it.
            bool const all = p->IsAutohideAllEnabled();
            p->EnableAutohideAll(false);
            if (p->IsSlidOut())
                p->Slide(false, false);
            p->UnSetAutoHideMode(nullptr);
            p->EnableAutohideAll(all);
        }
    m_pDockingManager->RecalcLayout(true);
    m_pDockingManager->OnLayoutChange();
    return panes;
}
