#include "docking/PaneElement.h"
#include "docking/ZnPaneFrameWnd.h"
#include "base/LocalSizedWrite.h"
#include "base/LocalSizedRead.h"
#include "docking/DataBuffer.h"

#include <cstdint>

#include "docking/ZnDockablePane.h"
#include "frame/Link.h"

PaneElement::PaneElement(ZnDockablePane const *pPane) : m_pPane(pPane), m_nWindowIndex(-1)
{
}

PaneElement::PaneElement(PaneElement const &src, bool withNeighbours)
    : DockElement(src, withNeighbours), m_pPane(src.m_pPane), m_nWindowIndex(src.m_nWindowIndex)
{
}

SString PaneElement::ImpPaneName() const
{
    return m_pPane ? m_pPane->GetInternalName() : SString();
}

SString PaneElement::GetStr() const
{
    SString s = DockElement::GetStr();
    if (m_nWindowIndex >= 0) {
        s += ", ix=";
        s += m_nWindowIndex;
    }
    return s;
}

SString PaneElement::GetTitle() const
{
    return ImpPaneName();
}

bool PaneElement::DockDepthFirst(ZnDockingManager *, std::set<SString> &, int, int)
{
    return false;
}

bool PaneElement::DockLeftMost(ZnDockingManager *, std::set<SString> &, int, int)
{
    return false;
}

DockPaneElement *PaneElement::FindClosestDockPane(std::set<SString> const &, std::set<SString> &visited) const
{
    visited.insert(GetIdentifier());
    return nullptr;
}

DockElement *PaneElement::FindElementOfPane(ZnDockablePane const *pPane) const
{
    return pPane && pPane == m_pPane ? const_cast<PaneElement *>(this) : nullptr;
}

void PaneElement::RefreshRect()
{
}

// The link keeps the caller's table of panes: it is called with the pane and
// answers its index, or called with the index and answers the pane.
void PaneElement::WindowToIndex(Link const &link)
{
    DockElement::WindowToIndex(link);
    // Without a table the pane would be swapped for a meaningless 0.
    if (!m_pPane || !link.IsSet())
        return;
    m_nWindowIndex = int(link.Call(const_cast<ZnDockablePane *>(m_pPane)));
    m_pPane = nullptr;
}

void PaneElement::IndexToWindow(Link const &link)
{
    DockElement::IndexToWindow(link);
    if (m_nWindowIndex < 0 || !link.IsSet())
        return;
    m_pPane = reinterpret_cast<ZnDockablePane const *>(
        static_cast<intptr_t>(link.Call(reinterpret_cast<void *>(static_cast<intptr_t>(m_nWindowIndex)))));
    m_nWindowIndex = -1;
}

bool PaneElement::CheckPaneExists(ZnDockablePane const *pPane) const
{
    return pPane && pPane == m_pPane;
}

ERRCODE PaneElement::WriteToDataBuffer(DataBuffer &buffer) const
{
    DockElement::WriteToDataBuffer(buffer);
    LocalSizedWrite section(buffer);
    buffer.WriteInt32(m_nWindowIndex);
    return ERRCODE_OK;
}

bool PaneElement::ReadFromDataBuffer(DataBuffer &buffer)
{
    if (!DockElement::ReadFromDataBuffer(buffer))
        return false;
    unsigned long const fails = buffer.GetFailCount();
    LocalSizedRead section(buffer);
    if (!section.IsOpen())
        return false;
    m_nWindowIndex = buffer.ReadInt32();
    m_pPane = nullptr; // the caller's IndexToWindow brings the pane back
    return buffer.GetFailCount() == fails;
}

bool PaneElement::FloatPaneAtRect()
{
    auto *pane = const_cast<ZnDockablePane *>(GetPane());
    CRectangle const &r = GetRect();
    if (!pane || r.Right() == RECT_EMPTY || r.Bottom() == RECT_EMPTY)
        return false;
    CRect const rect(r.Left(), r.Top(), r.Right(), r.Bottom());
    if (!pane->FloatPane(rect, DM_UNKNOWN, true))
        return false;
    // The frame takes the rectangle exactly, whatever the float made of it.
    if (ZnPaneFrameWnd *f = pane->GetParentMiniFrame())
        f->SetFrameRect(rect);
    return true;
}
