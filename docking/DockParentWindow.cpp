#include "docking/DockParentWindow.h"

#include "docking/ZnDockParentWnd.h"

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
