#pragma once
// What a docked pane remembers of the container it left, so that it can go
// back beside the same pane: the pane it shared the container with, the side
// of that pane it lay on, and its share of the two halves' length (0 to 1,
// the divider not counted).
//
// The neighbour is not owned and may be gone by the time the pane returns:
// it is only used after the docking manager confirms that it still knows a
// pane at that address docked in its site.
#include "frame/Kestrel5Api.h"

class ZnDockablePane;
class ZnPaneContainerManager;

class KSAPI ZnRecentPaneContainerInfo
{
public:
    ZnRecentPaneContainerInfo() = default;

    void Clear() { *this = ZnRecentPaneContainerInfo(); }
    bool IsValid() const { return m_pRecentNeighbour != nullptr && m_dwSideOfNeighbour != 0; }

    // Records pPane's place in its group's container; cleared when it
    // shares none.
    void Store(ZnDockablePane const *pPane);
    // The same in the container tree rTree (a multi-pane frame's).
    void Store(ZnPaneContainerManager const &rTree, ZnDockablePane const *pPane);

    ZnDockablePane *GetRecentNeighbour() const { return m_pRecentNeighbour; }
    unsigned long GetSideOfNeighbour() const { return m_dwSideOfNeighbour; }
    double GetShare() const { return m_dShare; }

private:
    ZnDockablePane *m_pRecentNeighbour = nullptr;
    unsigned long m_dwSideOfNeighbour = 0;
    double m_dShare = 0.5;
};
