#pragma once
// The window-free layout model of one docking frame: elements with
// rectangles in frame client coordinates that say which panes are docked and
// how they nest (binary splits with a fraction), which float, which are
// hidden, and where the free space lies.
//
// Ownership: a holder owns its two children, every element owns the private
// copies in its neighbour list, and the caller owns the vector of roots
// (ClearDockElements). Copies keep the id of their source, so "the same
// element" means the same id, never the same address.
//
// Every tolerance is measured against the default divider width w
// (ZnPaneDivider::GetDefaultWidth). Rectangles taken from windows carry the
// platform's numbers as they are, so two panes on either side of a divider
// lie exactly w apart: b.Left() - a.Right() == w.
#include <set>
#include <vector>

#include "base/ERRCODE.h"
#include "docking/DirectionType.h"
#include "docking/DockAlign.h"
#include "docking/DockElementType.h"
#include "docking/NeighbourContactType.h"
#include "docking/NeighbourType.h"
#include "frame/Kestrel5Api.h"
#include "graphics/CRectangle.h"
#include "graphics/Point.h"
#include "graphics/Size.h"
#include "text/SString.h"

class CWnd;
class DataBuffer;
class DockPaneElement;
class DockPosition;
class FreeSpaceElement;
class HolderElement;
class Link;
class ZnDockablePane;
class ZnDockingManager;

class KSAPI DockElement
{
public:
    DockElement();
    // Rectangle, neighbour type, id, depth and the prefer-outer flag; the
    // neighbour copies only when asked; never the parent.
    DockElement(DockElement const &src, bool withNeighbours);
    DockElement(DockElement const &) = delete;
    DockElement &operator=(DockElement const &) = delete;

    // The order of the virtual operations below is the order of their slots.
    virtual ~DockElement();
    virtual void AddRelation(DockElement *other, bool mutual);
    virtual void Dump() const;
    virtual DockElementType GetType() const = 0;
    virtual SString GetStr() const;
    virtual SString GetTitle() const = 0;
    virtual SString GetIdentifier() const = 0;
    virtual ERRCODE WriteToDataBuffer(DataBuffer &buffer) const;
    virtual DockElement *Duplicate(bool withNeighbours) const = 0;
    virtual bool DockDepthFirst(ZnDockingManager *pMgr, std::set<SString> &docked, int align, int sideLen) = 0;
    virtual bool DockLeftMost(ZnDockingManager *pMgr, std::set<SString> &docked, int align, int sideLen) = 0;
    virtual DockPaneElement *FindClosestDockPane(std::set<SString> const &docked,
                                                 std::set<SString> &visited) const = 0;
    virtual DockElement *FindElementOfPane(ZnDockablePane const *pPane) const;
    virtual DockPaneElement *FindNeighbourInHolder(DockPaneElement const *pEl) const;
    virtual bool FindHighestDockFreeRect(std::set<SString> const &docked, std::set<SString> &visited,
                                         CRectangle &rect) const;
    virtual void ScaleChildsToFract();
    virtual void ScaleRect(double fx, double fy);
    virtual bool Float();
    virtual bool IsFloating() const;
    virtual bool CanMerge() const;
    virtual bool IsHidden() const;
    virtual NeighbourType CheckIfOuterNeighbourOfEl(DockElement const *pEl, std::vector<DockElement *> const &all);
    virtual void RefreshRect() = 0;
    virtual void RefreshRectStatic();
    virtual void WindowToIndex(Link const &link);
    virtual void IndexToWindow(Link const &link);
    virtual int GetWindowIndex() const;
    virtual int CountWindows(std::set<SString> &counted) const;
    virtual bool WindowsExist() const = 0;
    virtual bool CheckPaneExists(ZnDockablePane const *pPane) const;
    virtual bool IsRectEqualTo(DockElement const *pOther) const;
    virtual int GetDepthForPane(ZnDockablePane const *pPane) const;
    virtual void FillPaneVec(std::vector<ZnDockablePane *> &panes) const;
    virtual void FillDockPaneElementVec(std::vector<DockPaneElement *> &elements, std::set<SString> &seen);
    virtual void NotifyOfAutoHidePane(ZnDockablePane *pPane);
    virtual void CollectAutoHidePanes(std::set<SString> &names, std::vector<ZnDockablePane *> &panes);
    virtual void SetNDepth(int depth);
    virtual void SetPreferOuterDock(bool prefer);
    virtual DockElement *RemoveOrphanShells();

protected:
    virtual bool ReadFromDataBuffer(DataBuffer &buffer);
    virtual void CalcRect();
    virtual void PostDock();
    virtual bool IsOuterThanEl(FreeSpaceElement const *pFreeSpace, DockElement const *pEl,
                               NeighbourType type) const;

public:
    // Fields
    CRectangle const &GetRect() const { return m_rect; }
    CRectangle &GetRect() { return m_rect; }
    void SetRect(CRectangle const &rect) { m_rect = rect; }
    std::vector<DockElement *> const &GetNeighbours() const { return m_neighbours; }
    HolderElement *GetParent() const { return m_pParent; }
    void SetParent(HolderElement *pParent) { m_pParent = pParent; }
    NeighbourType GetNeighbourType() const { return m_nNeighbourType; }
    void SetNeighbourType(NeighbourType type) { m_nNeighbourType = type; }
    int GetId() const { return m_nId; }
    int GetNDepth() const { return m_nDepth; }
    bool PrefersOuterDock() const { return m_bPreferOuterDock; }
    // Identity, not geometry: copies of one element are equal.
    bool operator==(DockElement const &other) const { return m_nId == other.m_nId; }
    bool operator!=(DockElement const &other) const { return m_nId != other.m_nId; }
    // By top, then left, then area (smaller first).
    bool operator<(DockElement const &other) const;

    // Neighbours. AddNeighbour takes ownership of the copy when it answers
    // true; a refused copy stays the caller's.
    bool AddNeighbour(DockElement *pCopy);

    // Side tests against this element's rectangle (see the source for the
    // exact tolerances).
    unsigned long GetNeighbourAlign(CRectangle const &r) const;
    NeighbourType GetNeighbourType(DockElement const *pEl) const;
    NeighbourType GetAlignedNeighbourType(DockElement const *pEl) const;
    unsigned long GetAlignOfType(NeighbourType type) const;
    int GetAlignSideLen(unsigned long align) const;
    int GetNeighbourSideLen(NeighbourType type) const;
    int GetMinDist(DockElement const *pEl) const;

    // Element vectors
    static int GetFileFormat() { return 1; }
    // An element record of any type, null when the record is not whole and
    // valid (a wrong format number or type among the reasons).
    static DockElement *CreateFromDataBuffer(DataBuffer &buffer);
    static void ClearDockElements(std::vector<DockElement *> &elements);
    static DockElement *FindElementOfPane(std::vector<DockElement *> const &elements, ZnDockablePane const *pPane);
    static FreeSpaceElement *FindFreeSpaceElement(std::vector<DockElement *> const &elements);
    static std::vector<DockPaneElement *> ExtractDockablePanes(std::vector<DockElement *> const &elements);
    static DockElement *PutRowIntoHolders(std::vector<DockElement *> &row);
    // The row is first laid out from the stored positions (SetRowRects),
    // starting at the first set position or else where the row lies now.
    static DockElement *PutRowIntoHolders(std::vector<DockElement *> &row, std::vector<DockPosition> const &positions,
                                          NeighbourType side);
    // Lays row[i] out one after the other along the given frame side
    // (left/right: top to bottom; top/bottom: left to right), one divider
    // apart, in the rectangle at pos with size: each entry takes the length
    // of positions[i] (its own when it has no usable one), all lengths
    // scaled to fill the rectangle; across the row each takes its full
    // thickness.
    static void SetRowRects(std::vector<DockElement *> &row, NeighbourType side,
                            std::vector<DockPosition> const &positions, Point const &pos, Size const &size);
    static void ScaleRects(Size const &from, Size const &to, std::vector<DockElement *> &elements);
    static void DetNeighboursFromRects(std::vector<DockElement *> &elements);
    static CRectangle GetMaxRectangle(std::vector<DockElement *> const &elements);
    // The pane's place relative to its neighbours in the model: size, top-left,
    // margin and named neighbours of its docked element, or the size of its
    // floating element; the name always becomes the pane's internal name.
    static void FillDockPosition(std::vector<DockElement *> const &elements, ZnDockablePane const *pPane,
                                 DockPosition &position);

    // Geometry classifiers
    static NeighbourContactType DetContactFromCoords(int a1, int b1, int a2, int b2, int c1, int c2);
    static NeighbourContactType DetContactType(DockElement const *pEl, DockElement const *pOther);
    static DirectionType DetDirectionType(DockElement const *pA, DockElement const *pB);
    static unsigned long DetMarginAlign(DockElement const *pEl, CRectangle const &r);
    static NeighbourType DetNeighbourType(DockElement *pA, DockElement *pB);
    static unsigned long GetNeighbourAlign(CRectangle const &e, CRectangle const &r);
    static NeighbourType GetNeighbourType(CRectangle const &a, CRectangle const &b);
    static int GetAlignSideLen(Size const &size, unsigned long align);
    static unsigned long InvertAlign(unsigned long align);
    static NeighbourType InvertNeighbourType(NeighbourType type);
    static SString GetAlignStr(unsigned long align);
    static SString GetContactStr(NeighbourContactType contact);

protected:
    // Records el as a neighbour of the positioned element and answers the
    // contact recorded (none when nothing was).
    static NeighbourContactType AddNeighbour(DockPosition &position, DockElement *pEl, DockElement *pNeighbour,
                                             bool holder);
    // The divider width every tolerance is measured against.
    static int ImpW();
    // Shared by holders and docked panes.
    NeighbourType ImpOuterNeighbourOfEl(DockElement const *pEl, std::vector<DockElement *> const &all) const;
    void ImpDeleteNeighbours();

    CRectangle m_rect;
    std::vector<DockElement *> m_neighbours;
    HolderElement *m_pParent;
    NeighbourType m_nNeighbourType;
    int m_nId;
    int m_nDepth;
    bool m_bPreferOuterDock;

    // The last id handed out; the first element gets 1.
    static int m_staticId;

private:
    void ImpCopy(DockElement const &src, bool withNeighbours);
};
