#include "docking/ZnRecentPaneContainerInfo.h"

#include <vector>

#include "docking/DockGeometry.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnPaneContainer.h"
#include "docking/ZnPaneContainerManager.h"
#include "docking/ZnPaneDivider.h"

void ZnRecentPaneContainerInfo::Store(ZnDockablePane const *pPane)
{
    Clear();
    ZnPaneDivider const *d = pPane ? pPane->GetDefaultPaneDivider() : nullptr;
    if (ZnPaneContainerManager const *cm = d ? d->GetPaneContainerManager() : nullptr)
        Store(*cm, pPane);
}

void ZnRecentPaneContainerInfo::Store(ZnPaneContainerManager const &rTree, ZnDockablePane const *pPane)
{
    Clear();
    int isLeft = 0;
    ZnPaneContainer const *c = rTree.FindPaneContainer(pPane, isLeft);
    if (!c)
        return;
    bool const first = isLeft != 0;
    ZnDockablePane *n = c->GetPane(!first);
    if (!n) {
        // The other half is a subtree: its pane nearest to this one stands
        // for it.
        if (ZnPaneContainer const *k = c->GetChild(!first)) {
            std::vector<ZnDockablePane *> panes;
            k->CollectPanes(panes);
            if (!panes.empty())
                n = first ? panes.front() : panes.back();
        }
    }
    if (!n)
        return;
    bool const sbs = c->IsSplitSideBySide();
    int const mine = DockGeometry::Extent(c->GetHalfRect(first), sbs);
    int const other = DockGeometry::Extent(c->GetHalfRect(!first), sbs);
    m_pRecentNeighbour = n;
    m_dwSideOfNeighbour = sbs ? (first ? 0x1000 : 0x4000) : (first ? 0x2000 : 0x8000);
    m_dShare = mine > 0 && other > 0 ? double(mine) / double(mine + other) : 0.5;
}
