#pragma once
// A pane that docks in the manager's dock site: adds the class-wide switch
// for minimum sizes and the way back from a floating frame into the site.
#include "docking/ZnBasePane.h"

class KSAPI ZnPane : public ZnBasePane
{
    DECLARE_DYNAMIC(ZnPane)
public:
    ZnPane() = default;

    // On: containers never lay a pane out below its minimum size when both
    // halves fit, and ForceAdjustLayout re-lays out without being forced.
    // Users' divider drags stop at minimum sizes either way.
    static int m_bHandleMinSize;

    // Puts the pane's window back into pNewParent (the dock site) from
    // wherever it is, without changing its visibility.
    virtual void RemoveFromMiniframe(CWnd *pNewParent, AFX_DOCK_METHOD dockMethod);
    // The window the pane is docked into: the dock site of its manager.
    CWnd *GetDockSiteFrameWnd() const;
};
