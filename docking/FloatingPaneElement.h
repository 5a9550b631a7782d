#pragma once
// A pane floating in a mini frame of its own.
#include "docking/PaneElement.h"

class KSAPI FloatingPaneElement : public PaneElement
{
public:
    explicit FloatingPaneElement(ZnDockablePane const *pPane = nullptr);
    FloatingPaneElement(FloatingPaneElement const &src, bool withNeighbours);

    DockElementType GetType() const override { return DET_FLOATING_PANE_ELEMENT; }
    SString GetTitle() const override;
    SString GetIdentifier() const override { return GetTitle(); }
    DockElement *Duplicate(bool withNeighbours) const override;
    // Floats the pane (each pane of a holder) in a mini frame at the
    // element's rectangle.
    bool Float() override;
    bool IsFloating() const override { return true; }
    bool CanMerge() const override { return false; }
};
