#pragma once
// One node of a docked group's binary tree. Each half holds a pane or a
// child container (never both); the divider lies between the halves when
// both are filled. Only a group's root may have an empty half: a container
// that loses a half hands the other one up to its parent.
//
// The percentage is the first (left or top) half's share of the extent left
// once the divider is taken off (see DockGeometry). A half without a visible
// pane takes no room and the other half gets the whole rectangle.
#include <vector>

#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"
#include "mfc/CRect.h"
#include "mfc/CSize.h"

class CObList;
class ZnDockablePane;
class ZnPaneContainerManager;
class ZnPaneDivider;

class KSAPI ZnPaneContainer : public CObject
{
public:
    ZnPaneContainer(ZnPaneContainerManager *pManager = nullptr, ZnDockablePane *pPane1 = nullptr,
                    ZnDockablePane *pPane2 = nullptr, ZnPaneDivider *pDivider = nullptr);
    // Deletes the child containers and the divider; panes are not owned.
    ~ZnPaneContainer() override;
    ZnPaneContainer(ZnPaneContainer const &) = delete;
    ZnPaneContainer &operator=(ZnPaneContainer const &) = delete;

    ZnDockablePane *GetPane(bool bFirst) const { return bFirst ? m_pPane1 : m_pPane2; }
    ZnPaneContainer *GetChild(bool bFirst) const { return bFirst ? m_pContainer1 : m_pContainer2; }
    ZnDockablePane *GetLeftPane() const { return m_pPane1; }
    ZnDockablePane *GetRightPane() const { return m_pPane2; }
    ZnPaneContainer *GetLeftContainer() const { return m_pContainer1; }
    ZnPaneContainer *GetRightContainer() const { return m_pContainer2; }
    ZnPaneDivider *GetPaneDivider() const { return m_pDivider; }
    ZnPaneContainer *GetParentContainer() const { return m_pParent; }
    ZnPaneContainerManager *GetContainerManager() const { return m_pContainerManager; }

    // A half holds a pane or a child container; setting one clears the other.
    void SetPane(bool bFirst, ZnDockablePane *pPane);
    void SetChild(bool bFirst, ZnPaneContainer *pChild);
    void SetPaneDivider(ZnPaneDivider *pDivider) { m_pDivider = pDivider; }
    void SetParentContainer(ZnPaneContainer *pParent) { m_pParent = pParent; }
    void SetContainerManager(ZnPaneContainerManager *pManager);
    bool IsHalfEmpty(bool bFirst) const { return !GetPane(bFirst) && !GetChild(bFirst); }

    double GetPercent() const { return m_dPercent; }
    void SetPercent(double dPercent) { m_dPercent = dPercent; }
    // The divider's direction decides the split: a vertical divider puts the
    // halves side by side.
    bool IsSplitSideBySide() const;

    // Panes at any depth, first half first.
    void CollectPanes(std::vector<ZnDockablePane *> &out) const;
    int CountPanes() const;
    bool HasVisiblePane(bool bFirst) const;
    bool HasVisiblePane() const { return HasVisiblePane(true) || HasVisiblePane(false); }
    // The container holding pPane directly, with the half it is in.
    ZnPaneContainer *Find(ZnDockablePane const *pPane, bool &bFirst) const;
    // The smallest size that gives each visible pane its own minimum.
    CSize GetMinSize(int nDividerWidth) const;
    CSize GetHalfMinSize(bool bFirst, int nDividerWidth) const;

    // Lays the tree out in rect: panes and dividers receive their layout
    // rectangles and visibility.
    void Layout(CRect const &rect, int nDividerWidth, bool bHonourMin);
    CRect const &GetRect() const { return m_rect; }
    // The rectangle the last layout gave a half.
    CRect const &GetHalfRect(bool bFirst) const { return bFirst ? m_rectHalf1 : m_rectHalf2; }

    // The recorded neighbour state of a pane that left a half, for docking
    // back: its identifier, rectangle and siblings.
    int m_nSavedPaneId[2];
    CRect m_rectSaved[2];
    std::vector<int> m_lstSavedSiblings[2];

private:
    ZnDockablePane *m_pPane1;
    ZnDockablePane *m_pPane2;
    ZnPaneDivider *m_pDivider;
    ZnPaneContainer *m_pContainer1;
    ZnPaneContainer *m_pContainer2;
    ZnPaneContainer *m_pParent;
    ZnPaneContainerManager *m_pContainerManager;
    double m_dPercent;
    CRect m_rect;
    CRect m_rectHalf1;
    CRect m_rectHalf2;
};
