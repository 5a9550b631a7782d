#pragma once
// An element that stands for one dockable pane. The pane is referred to, not
// owned; for storage the pointer is swapped for the window index a caller's
// table gives it (WindowToIndex) and back (IndexToWindow).
#include "docking/DockElement.h"

class KSAPI PaneElement : public DockElement
{
public:
    ERRCODE WriteToDataBuffer(DataBuffer &buffer) const override;
    explicit PaneElement(ZnDockablePane const *pPane = nullptr);
    PaneElement(PaneElement const &src, bool withNeighbours);

    SString GetStr() const override;
    SString GetTitle() const override;
    // Only docked panes dock; the others answer false and find nothing.
    bool DockDepthFirst(ZnDockingManager *pMgr, std::set<SString> &docked, int align, int sideLen) override;
    bool DockLeftMost(ZnDockingManager *pMgr, std::set<SString> &docked, int align, int sideLen) override;
    DockPaneElement *FindClosestDockPane(std::set<SString> const &docked, std::set<SString> &visited) const override;
    DockElement *FindElementOfPane(ZnDockablePane const *pPane) const override;
    void RefreshRect() override;
    void WindowToIndex(Link const &link) override;
    void IndexToWindow(Link const &link) override;
    int GetWindowIndex() const override { return m_nWindowIndex; }
    bool WindowsExist() const override { return m_pPane != nullptr; }
    bool CheckPaneExists(ZnDockablePane const *pPane) const override;

    ZnDockablePane const *GetPane() const { return m_pPane; }
    void SetPane(ZnDockablePane const *pPane) { m_pPane = pPane; }
    void SetWindowIndex(int index) { m_nWindowIndex = index; }

protected:
    // Floats the pane at the element's rectangle (screen), its frame taking
    // the rectangle exactly; false without a pane or a rectangle.
    bool FloatPaneAtRect();
    bool ReadFromDataBuffer(DataBuffer &buffer) override;
    // The pane's internal name, empty without a pane.
    SString ImpPaneName() const;

    ZnDockablePane const *m_pPane;
    int m_nWindowIndex;
};
