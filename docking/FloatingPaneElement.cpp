#include "docking/FloatingPaneElement.h"

#include "docking/ZnDockablePane.h"
#include "docking/ZnPaneFrameWnd.h"

FloatingPaneElement::FloatingPaneElement(ZnDockablePane const *pPane) : PaneElement(pPane)
{
}

FloatingPaneElement::FloatingPaneElement(FloatingPaneElement const &src, bool withNeighbours)
    : PaneElement(src, withNeighbours)
{
}

SString FloatingPaneElement::GetTitle() const
{
    return "Floating-" + ImpPaneName();
}

DockElement *FloatingPaneElement::Duplicate(bool withNeighbours) const
{
    return new FloatingPaneElement(*this, withNeighbours);
}

bool FloatingPaneElement::Float()
{
    auto *pane = const_cast<ZnDockablePane *>(GetPane());
    CRectangle const &r = GetRect();
    if (!pane || r.Right() == RECT_EMPTY || r.Bottom() == RECT_EMPTY)
        return false;
    CRect const rect(r.Left(), r.Top(), r.Right(), r.Bottom());
    if (!pane->FloatPane(rect, DM_UNKNOWN, true))
        return false;
    if (ZnPaneFrameWnd *f = pane->GetParentMiniFrame())
        f->SetFrameRect(rect);
    return true;
}
