#include "docking/DockParentWindow.h"

#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"

DockParentWindow::DockParentWindow(Window *pParent, int nStyle) : Window(pParent, nStyle, 0x800000)
{
    if (ZnDockParentWnd *w = GetPDockParentWnd())
        w->SetPDockParentWindow(this);
}

DockParentWindow::~DockParentWindow()
{
    if (ZnDockParentWnd *w = GetPDockParentWnd())
        w->SetPDockParentWindow(nullptr);
}

ZnDockParentWnd *DockParentWindow::GetPDockParentWnd() const
{
    return dynamic_cast<ZnDockParentWnd *>(GetPCWnd());
}

namespace {

ZnDockablePane *PaneOfContent(ZnDockParentWnd *dp, Window const *pContent)
{
    ZnDockingManager *mgr = dp && pContent ? dp->GetPDockingManager() : nullptr;
    std::vector<ZnDockablePane *> panes;
    if (mgr)
        mgr->FillDockablePaneVec(panes);
    for (ZnDockablePane *p : panes)
        if (p->GetPDockedWin() == pContent)
            return p;
    return nullptr;
}

} // namespace

bool DockParentWindow::HidePane(Window *pContent)
{
    ZnDockParentWnd *dp = GetPDockParentWnd();
    ZnDockablePane *p = PaneOfContent(dp, pContent);
    DockPosition position;
    return p && dp->HidePane(p, position, true);
}

bool DockParentWindow::ShowPane(Window *pContent)
{
    ZnDockParentWnd *dp = GetPDockParentWnd();
    ZnDockablePane *p = PaneOfContent(dp, pContent);
    if (!p)
        return false;
    dp->ShowPane(p, p->GetRecentDockPosition());
    return dp->IsDockedHere(p);
}
