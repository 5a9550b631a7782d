#pragma once
// A bar along one margin of a dock site window, the outermost thing on its
// side. It will hold rows of docked tool bars; while it holds none it is
// as thin as nothing and the docked panes reach the margin.
#include "docking/ZnBasePane.h"

class KSAPI ZnDockSite : public ZnBasePane
{
    DECLARE_DYNCREATE(ZnDockSite)
public:
    ZnDockSite() = default;

    // A child window of class "Afx:DockPane" on pParentWnd for side dwAlign.
    virtual bool Create(unsigned long dwStyle, CRect const &rect, CWnd *pParentWnd, unsigned long dwAlign);
    // The depth the bar takes from its margin.
    virtual int GetThickness() const { return 0; }
};
