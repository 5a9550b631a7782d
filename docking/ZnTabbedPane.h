#pragma once
// The tabbed pane the library makes by default when panes are tabbed
// together (ZnDockablePane::GetTabbedPaneRTC).
#include "docking/ZnBaseTabbedPane.h"
#include "frame/Kestrel5Api.h"

class KSAPI ZnTabbedPane : public ZnBaseTabbedPane
{
    DECLARE_DYNCREATE(ZnTabbedPane)
public:
    explicit ZnTabbedPane(ZnDockParentWnd *pDockParentWnd = nullptr) : ZnBaseTabbedPane(pDockParentWnd) {}
};
