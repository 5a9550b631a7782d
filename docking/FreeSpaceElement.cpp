#include "docking/FreeSpaceElement.h"
#include "base/LocalSizedWrite.h"
#include "base/LocalSizedRead.h"
#include "docking/DataBuffer.h"

FreeSpaceElement::FreeSpaceElement(CWnd const *pWnd) : m_pWnd(pWnd)
{
}

FreeSpaceElement::FreeSpaceElement(FreeSpaceElement const &src, bool withNeighbours)
    : DockElement(src, withNeighbours), m_pWnd(src.m_pWnd)
{
}

DockElement *FreeSpaceElement::Duplicate(bool withNeighbours) const
{
    return new FreeSpaceElement(*this, withNeighbours);
}

// The free space is never docked: it is what is left over.
bool FreeSpaceElement::DockDepthFirst(ZnDockingManager *, std::set<SString> &, int, int)
{
    return false;
}

bool FreeSpaceElement::DockLeftMost(ZnDockingManager *, std::set<SString> &, int, int)
{
    return false;
}

DockPaneElement *FreeSpaceElement::FindClosestDockPane(std::set<SString> const &, std::set<SString> &visited) const
{
    visited.insert(GetIdentifier());
    return nullptr;
}

ERRCODE FreeSpaceElement::WriteToDataBuffer(DataBuffer &buffer) const
{
    DockElement::WriteToDataBuffer(buffer);
    LocalSizedWrite section(buffer); // empty: room for what a later format adds
    return ERRCODE_OK;
}

bool FreeSpaceElement::ReadFromDataBuffer(DataBuffer &buffer)
{
    if (!DockElement::ReadFromDataBuffer(buffer))
        return false;
    LocalSizedRead section(buffer);
    m_pWnd = nullptr;
    return section.IsOpen();
}
