// What a dockable pane tells the settings store of itself (ZnPane's values)
// beyond what ZnPane knows: its docked rectangle, side and group, its width
// across its side, its floating rectangle.
#include <algorithm>

#include "docking/DockGeometry.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneDivider.h"

void ZnDockablePane::CalcRecentDockedRect()
{
    ZnPaneDivider *group = m_pDefaultDivider;
    CRect rect = m_rectLayout;
    if (IsAutoHideMode()) {
        // The placeholder's group, if it still stands.
        group = nullptr;
        if (m_pDockManager && m_pAutoHidePlaceholder)
            for (ZnPaneDivider *g : m_pDockManager->GetDefaultDividers()) {
                int isLeft = 0;
                if (g->FindPaneContainer(m_pAutoHidePlaceholder, isLeft))
                    group = g;
            }
        rect = GetAHRestoredRect();
    }
    if (!group) {
        // Floating or closed: what it had when it last left the site.
        if (m_recentDockSiteInfo.IsValid())
            m_dwRecentFrameAlignment = m_recentDockSiteInfo.GetRecentAlignment();
        return;
    }
    m_rectRecentDocked = rect;
    // The group's side: a pane docked beside another carries that side in
    // its own bits.
    m_dwRecentFrameAlignment = group->GetCurrentAlignment();
    m_nRecentRowIndex = -1;
    if (m_pDockManager) {
        std::vector<ZnPaneDivider *> const groups = m_pDockManager->GetDefaultDividers();
        auto it = std::find(groups.begin(), groups.end(), group);
        if (it != groups.end())
            m_nRecentRowIndex = int(it - groups.begin());
    }
    m_nMRUWidth = IsAutoHideMode() ? m_nAutoHideSize
                                   : DockGeometry::Extent(rect, DockGeometry::IsHorzAxis(m_dwRecentFrameAlignment));
}

CRect ZnDockablePane::GetRecentFloatingRect() const
{
    return m_rectRecentFloat;
}

void ZnDockablePane::SetRecentFloatingRect(CRect const &rect)
{
    m_rectRecentFloat = rect;
}
