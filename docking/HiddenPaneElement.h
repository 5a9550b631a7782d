#pragma once
// A pane that is hidden now, with the position it must return to.
#include "docking/DockPosition.h"
#include "docking/PaneElement.h"

class KSAPI HiddenPaneElement : public PaneElement
{
public:
    ERRCODE WriteToDataBuffer(DataBuffer &buffer) const override;
    HiddenPaneElement();
    HiddenPaneElement(ZnDockablePane const *pPane, DockPosition const &position);
    HiddenPaneElement(HiddenPaneElement const &src, bool withNeighbours);

    DockElementType GetType() const override { return DET_HIDDEN_PANE_ELEMENT; }
    SString GetStr() const override;
    SString GetTitle() const override;
    SString GetIdentifier() const override { return GetTitle(); }
    DockElement *Duplicate(bool withNeighbours) const override;
    bool IsHidden() const override { return true; }
    bool CanMerge() const override { return false; }

    DockPosition const &GetDockPosition() const { return m_dockPosition; }
    void SetDockPosition(DockPosition const &position) { m_dockPosition = position; }

protected:
    bool ReadFromDataBuffer(DataBuffer &buffer) override;
    DockPosition m_dockPosition;
};
