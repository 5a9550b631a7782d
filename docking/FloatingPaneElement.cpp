#include "docking/FloatingPaneElement.h"


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
    return FloatPaneAtRect();
}
