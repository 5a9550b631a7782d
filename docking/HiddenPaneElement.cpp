#include "docking/HiddenPaneElement.h"
#include "docking/DockPosition.h"
#include "base/LocalSizedWrite.h"
#include "base/LocalSizedRead.h"
#include "docking/DataBuffer.h"

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

ERRCODE HiddenPaneElement::WriteToDataBuffer(DataBuffer &buffer) const
{
    PaneElement::WriteToDataBuffer(buffer);
    LocalSizedWrite section(buffer);
    m_dockPosition.WriteToDataBuffer(buffer);
    return ERRCODE_OK;
}

bool HiddenPaneElement::ReadFromDataBuffer(DataBuffer &buffer)
{
    if (!PaneElement::ReadFromDataBuffer(buffer))
        return false;
    LocalSizedRead section(buffer);
    return section.IsOpen() && m_dockPosition.ReadFromDataBuffer(buffer);
}
