#include "docking/ZnDockSite.h"

IMPLEMENT_DYNCREATE(ZnDockSite, ZnBasePane)

bool ZnDockSite::Create(unsigned long dwStyle, CRect const &rect, CWnd *pParentWnd, unsigned long dwAlign)
{
    static char const *const cls = RegisterDockingClass("Afx:DockPane", nullptr);
    SetPaneAlignment(dwAlign);
    return CWnd::CreateEx(0, cls, "", dwStyle | WS_CHILD | WS_CLIPSIBLINGS, rect, pParentWnd, 0);
}
