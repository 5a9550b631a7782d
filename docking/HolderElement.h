#pragma once
// A binary split: two child elements side by side or one above the other,
// with the share of the holder's extent (less one divider width) that the
// left or top child takes. The holder owns its children.
#include "docking/DockElement.h"

class ZnPaneContainer;

class KSAPI HolderElement : public DockElement
{
public:
    ERRCODE WriteToDataBuffer(DataBuffer &buffer) const override;
    HolderElement();
    // The tree of a live pane container: its shown panes as docked pane
    // elements at their layout rectangles, child containers as holders. A
    // half without a shown pane stays empty (RemoveOrphanShells folds it).
    explicit HolderElement(ZnPaneContainer const *pContainer);
    // Both children are duplicated without their neighbour lists, whatever
    // withNeighbours says of the holder's own list.
    HolderElement(HolderElement const &src, bool withNeighbours);
    ~HolderElement() override;

    DockElementType GetType() const override { return DET_HOLDER_ELEMENT; }
    SString GetStr() const override;
    SString GetTitle() const override;
    SString GetIdentifier() const override;
    DockElement *Duplicate(bool withNeighbours) const override;
    bool DockDepthFirst(ZnDockingManager *pMgr, std::set<SString> &docked, int align, int sideLen) override;
    bool DockLeftMost(ZnDockingManager *pMgr, std::set<SString> &docked, int align, int sideLen) override;
    DockPaneElement *FindClosestDockPane(std::set<SString> const &docked, std::set<SString> &visited) const override;
    DockElement *FindElementOfPane(ZnDockablePane const *pPane) const override;
    DockPaneElement *FindNeighbourInHolder(DockPaneElement const *pEl) const override;
    void ScaleChildsToFract() override;
    void ScaleRect(double fx, double fy) override;
    // Floats the pane (each pane of a holder) in a mini frame at the
    // element's rectangle.
    bool Float() override;
    NeighbourType CheckIfOuterNeighbourOfEl(DockElement const *pEl, std::vector<DockElement *> const &all) override;
    void RefreshRect() override;
    void RefreshRectStatic() override;
    void WindowToIndex(Link const &link) override;
    void IndexToWindow(Link const &link) override;
    int CountWindows(std::set<SString> &counted) const override;
    bool WindowsExist() const override;
    bool CheckPaneExists(ZnDockablePane const *pPane) const override;
    int GetDepthForPane(ZnDockablePane const *pPane) const override;
    void FillPaneVec(std::vector<ZnDockablePane *> &panes) const override;
    void FillDockPaneElementVec(std::vector<DockPaneElement *> &elements, std::set<SString> &seen) override;
    void NotifyOfAutoHidePane(ZnDockablePane *pPane) override;
    void CollectAutoHidePanes(std::set<SString> &names, std::vector<ZnDockablePane *> &panes) override;
    void SetNDepth(int depth) override;
    DockElement *RemoveOrphanShells() override;

protected:
    bool ReadFromDataBuffer(DataBuffer &buffer) override;
    void CalcRect() override;

public:
    DockElement *GetPLeft() const { return m_pLeft; }
    DockElement *GetPRight() const { return m_pRight; }
    // Takes ownership of both (either may be null) and becomes their parent.
    // Children held before are not deleted: the caller moves them.
    void SetChilds(DockElement *pLeft, DockElement *pRight);
    bool HasChilds() const { return m_pLeft || m_pRight; }
    double GetLeftFract() const { return m_fLeftFract; }
    void SetLeftFract(double fract) { m_fLeftFract = fract; }

    // Side by side (true) or one above the other (false).
    bool IsHorizontal() const;
    // The length along the split axis that child gets by the fraction.
    int GetSideLenInPixel(DockElement *pChild) const;

protected:
    // The fraction two rectangles would give inside this holder's current
    // rectangle; stored and returned.
    double CalcFract(CRectangle const &left, CRectangle const &right);

    DockElement *m_pLeft;
    DockElement *m_pRight;
    double m_fLeftFract;

private:
    static bool ImpIsHorizontal(CRectangle const &l, CRectangle const &r);
    static DockElement *ImpReplaceOrphan(DockElement *pChild);
};
