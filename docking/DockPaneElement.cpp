#include "docking/DockPaneElement.h"
#include "base/LocalSizedWrite.h"
#include "base/LocalSizedRead.h"
#include "docking/DataBuffer.h"

#include "docking/HolderElement.h"
#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"

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

bool DockPaneElement::DockDepthFirst(ZnDockingManager *pMgr, std::set<SString> &docked, int align, int sideLen)
{
    SString const id = GetIdentifier();
    if (!pMgr || !m_pPane || id.IsEmpty() || docked.count(id))
        return false;
    // The pane goes beside the nearest pane of its own tree that is docked
    // already; the first of a tree goes to the margin.
    DockPaneElement *pClosest = nullptr;
    CRectangle rect = m_rect;
    if (m_pParent) {
        std::set<SString> visited;
        pClosest = m_pParent->FindClosestDockPane(docked, visited);
        std::set<SString> visitedFree;
        m_pParent->FindHighestDockFreeRect(docked, visitedFree, rect);
    }
    bool ok = false;
    if (pClosest) {
        unsigned long const side = GetNeighbourAlign(pClosest->GetRect());
        ok = side && DockInto(pMgr, pClosest, int(side), rect, sideLen);
    } else {
        ok = Dock(pMgr, align, rect);
    }
    if (ok)
        docked.insert(id);
    return ok;
}

bool DockPaneElement::DockLeftMost(ZnDockingManager *pMgr, std::set<SString> &docked, int align, int sideLen)
{
    return DockDepthFirst(pMgr, docked, align, sideLen);
}

bool DockPaneElement::Dock(ZnDockingManager *pMgr, int align, CRectangle const &rect)
{
    if (!pMgr || !m_pPane)
        return false;
    unsigned long const a = unsigned(align) & DockAlignAny;
    long long const len = a & (DockAlignLeft | DockAlignRight) ? (long long)rect.Right() - rect.Left()
                                                                   : (long long)rect.Bottom() - rect.Top();
    int const n = rect.IsEmpty() || len < 0 ? 0 : len > 32000 ? 32000 : int(len);
    bool const ok = pMgr->DockIntoParent(const_cast<ZnDockablePane *>(m_pPane), a, n, true);
    PostDock();
    return ok;
}

bool DockPaneElement::Dock(ZnDockingManager *pMgr, int align)
{
    return Dock(pMgr, align, m_rect);
}

bool DockPaneElement::DockInto(ZnDockingManager *pMgr, DockPaneElement *pTarget, int align, CRectangle const &,
                               int sideLen)
{
    if (!pMgr || !m_pPane || !pTarget || !pTarget->GetPane())
        return false;
    bool const ok = pMgr->DockIntoPane(const_cast<ZnDockablePane *>(m_pPane),
                                       const_cast<ZnDockablePane *>(pTarget->GetPane()),
                                       unsigned(align) & DockAlignAny, sideLen);
    PostDock();
    return ok;
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

bool DockPaneElement::Float()
{
    return FloatPaneAtRect();
}
