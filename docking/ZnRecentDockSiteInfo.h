#pragma once
// What a docked pane remembers of its place when it leaves the dock site
// (floats): the side its group was docked to, whether that group was the
// outermost one, the group's length, and its container (see
// ZnRecentPaneContainerInfo). ZnDockablePane::DockToRecentDockSite takes the
// pane back there: beside the same neighbour with the same share when that
// neighbour is still docked, else to the same side with the same length.
#include "docking/ZnRecentPaneContainerInfo.h"
#include "frame/Kestrel5Api.h"

class ZnDockablePane;

class KSAPI ZnRecentDockSiteInfo
{
public:
    ZnRecentDockSiteInfo() = default;

    void Clear() { *this = ZnRecentDockSiteInfo(); }
    bool IsValid() const { return m_dwRecentAlignment != 0; }

    // Records where pPane is docked now; nothing for a pane that is not.
    void StoreDockInfo(ZnDockablePane const *pPane);

    unsigned long GetRecentAlignment() const { return m_dwRecentAlignment; }
    bool WasOuterGroup() const { return m_bOuterGroup; }
    int GetRecentGroupLength() const { return m_nRecentGroupLength; }
    ZnRecentPaneContainerInfo const &GetRecentContainerInfo() const { return m_containerInfo; }

private:
    unsigned long m_dwRecentAlignment = 0;
    bool m_bOuterGroup = false;
    int m_nRecentGroupLength = 0;
    ZnRecentPaneContainerInfo m_containerInfo;
};
