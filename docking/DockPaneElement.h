#pragma once
// A docked pane, possibly pinned off into auto-hide.
#include "docking/PaneElement.h"

class KSAPI DockPaneElement : public PaneElement
{
public:
    ERRCODE WriteToDataBuffer(DataBuffer &buffer) const override;
    explicit DockPaneElement(ZnDockablePane const *pPane = nullptr);
    DockPaneElement(DockPaneElement const &src, bool withNeighbours);

    DockElementType GetType() const override { return DET_DOCK_PANE_ELEMENT; }
    SString GetTitle() const override;
    SString GetIdentifier() const override;
    DockElement *Duplicate(bool withNeighbours) const override;
    bool DockDepthFirst(ZnDockingManager *pMgr, std::set<SString> &docked, int align, int sideLen) override;
    bool DockLeftMost(ZnDockingManager *pMgr, std::set<SString> &docked, int align, int sideLen) override;
    // Floats the pane (each pane of a holder) in a mini frame at the
    // element's rectangle.
    bool Float() override;
    DockPaneElement *FindClosestDockPane(std::set<SString> const &docked, std::set<SString> &visited) const override;
    NeighbourType CheckIfOuterNeighbourOfEl(DockElement const *pEl, std::vector<DockElement *> const &all) override;
    int GetDepthForPane(ZnDockablePane const *pPane) const override;
    void FillPaneVec(std::vector<ZnDockablePane *> &panes) const override;
    void FillDockPaneElementVec(std::vector<DockPaneElement *> &elements, std::set<SString> &seen) override;
    void NotifyOfAutoHidePane(ZnDockablePane *pPane) override;
    void CollectAutoHidePanes(std::set<SString> &names, std::vector<ZnDockablePane *> &panes) override;

    virtual bool Dock(ZnDockingManager *pMgr, int align, CRectangle const &rect);
    virtual bool Dock(ZnDockingManager *pMgr, int align);
    virtual bool DockInto(ZnDockingManager *pMgr, DockPaneElement *pTarget, int align, CRectangle const &rect,
                          int sideLen);

    bool IsAutoHide() const { return m_bAutoHide; }
    void SetAutoHide(bool autoHide) { m_bAutoHide = autoHide; }
    // Tells the pane the length it should have in its pane container.
    void SetSideLenInContainer(int len);

protected:
    bool ReadFromDataBuffer(DataBuffer &buffer) override;
    bool m_bAutoHide;
};
