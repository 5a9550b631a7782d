#include "docking/ZnRecentDockSiteInfo.h"

#include <vector>

#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneDivider.h"

void ZnRecentDockSiteInfo::StoreDockInfo(ZnDockablePane const *pPane)
{
    ZnPaneDivider const *d = pPane ? pPane->GetDefaultPaneDivider() : nullptr;
    if (!d)
        return;
    Clear();
    m_dwRecentAlignment = d->GetCurrentAlignment();
    m_nRecentGroupLength = d->GetGroupLength();
    if (ZnDockingManager const *mgr = pPane->GetDockingManager()) {
        std::vector<ZnPaneDivider *> const groups = mgr->GetDefaultDividers();
        m_bOuterGroup = groups.size() > 1 && groups.front() == d;
    }
    m_containerInfo.Store(pPane);
}
