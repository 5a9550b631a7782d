#include "docking/HiddenPaneElement.h"

HiddenPaneElement::HiddenPaneElement()
{
}

HiddenPaneElement::HiddenPaneElement(ZnDockablePane const *pPane, DockPosition const &position)
    : PaneElement(pPane), m_dockPosition(position)
{
}

HiddenPaneElement::HiddenPaneElement(HiddenPaneElement const &src, bool withNeighbours)
    : PaneElement(src, withNeighbours), m_dockPosition(src.m_dockPosition)
{
}

SString HiddenPaneElement::GetStr() const
{
    return "'" + ImpPaneName() + "'-hidden";
}

SString HiddenPaneElement::GetTitle() const
{
    return "Hidden-" + ImpPaneName();
}

DockElement *HiddenPaneElement::Duplicate(bool withNeighbours) const
{
    return new HiddenPaneElement(*this, withNeighbours);
}
