#include "docking/DockPaneElement.h"
#include "base/LocalSizedWrite.h"
#include "base/LocalSizedRead.h"
#include "docking/DataBuffer.h"

#include "docking/ZnDockablePane.h"

DockPaneElement::DockPaneElement(ZnDockablePane const *pPane) : PaneElement(pPane), m_bAutoHide(false)
{
}

DockPaneElement::DockPaneElement(DockPaneElement const &src, bool withNeighbours)
    : PaneElement(src, withNeighbours), m_bAutoHide(src.m_bAutoHide)
{
}

SString DockPaneElement::GetTitle() const
{
    SString s = ImpPaneName();
    // An auto-hidden pane is a different neighbour from the docked one: it
    // no longer takes room beside the others.
    if (m_bAutoHide)
        s += "-AH";
    return s;
}

SString DockPaneElement::GetIdentifier() const
{
    return m_pPane ? m_pPane->GetWindowText() : SString();
}

DockElement *DockPaneElement::Duplicate(bool withNeighbours) const
{
    return new DockPaneElement(*this, withNeighbours);
}

DockPaneElement *DockPaneElement::FindClosestDockPane(std::set<SString> const &docked,
                                                      std::set<SString> &visited) const
{
    SString id = GetIdentifier();
    if (!visited.insert(id).second)
        return nullptr;
    return docked.count(id) ? const_cast<DockPaneElement *>(this) : nullptr;
}

NeighbourType DockPaneElement::CheckIfOuterNeighbourOfEl(DockElement const *pEl,
                                                         std::vector<DockElement *> const &all)
{
    return ImpOuterNeighbourOfEl(pEl, all);
}

int DockPaneElement::GetDepthForPane(ZnDockablePane const *pPane) const
{
    return pPane && pPane == m_pPane ? 0 : -1;
}

void DockPaneElement::FillPaneVec(std::vector<ZnDockablePane *> &panes) const
{
    if (m_pPane)
        panes.push_back(const_cast<ZnDockablePane *>(m_pPane));
}

void DockPaneElement::FillDockPaneElementVec(std::vector<DockPaneElement *> &elements, std::set<SString> &seen)
{
    if (seen.insert(GetIdentifier()).second)
        elements.push_back(this);
}

void DockPaneElement::NotifyOfAutoHidePane(ZnDockablePane *pPane)
{
    if (pPane && pPane == m_pPane)
        m_bAutoHide = true;
}

void DockPaneElement::CollectAutoHidePanes(std::set<SString> &names, std::vector<ZnDockablePane *> &panes)
{
    if (m_bAutoHide && m_pPane && names.insert(GetIdentifier()).second)
        panes.push_back(const_cast<ZnDockablePane *>(m_pPane));
}

// Docking needs the live docking manager; without it nothing is docked.
bool DockPaneElement::Dock(ZnDockingManager *, int, CRectangle const &)
{
    return false;
}

bool DockPaneElement::Dock(ZnDockingManager *, int)
{
    return false;
}

bool DockPaneElement::DockInto(ZnDockingManager *, DockPaneElement *, int, CRectangle const &, int)
{
    return false;
}

void DockPaneElement::SetSideLenInContainer(int len)
{
    if (m_pPane)
        const_cast<ZnDockablePane *>(m_pPane)->SetSizeInContainer(len);
}

ERRCODE DockPaneElement::WriteToDataBuffer(DataBuffer &buffer) const
{
    PaneElement::WriteToDataBuffer(buffer);
    LocalSizedWrite section(buffer);
    buffer.WriteBool(m_bAutoHide);
    return ERRCODE_OK;
}

bool DockPaneElement::ReadFromDataBuffer(DataBuffer &buffer)
{
    if (!PaneElement::ReadFromDataBuffer(buffer))
        return false;
    unsigned long const fails = buffer.GetFailCount();
    LocalSizedRead section(buffer);
    if (!section.IsOpen())
        return false;
    m_bAutoHide = buffer.ReadBool();
    return buffer.GetFailCount() == fails;
}
