#pragma once
// The tree of pane containers of one docked group, owned by the group's
// default divider; or, briefly, a holder of a pane on its way into another
// pane's group. It makes and deletes the inner dividers, keeps the tree
// normal (only the root may have an empty half) and lays the tree out.
#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"
#include "mfc/CRect.h"
#include "mfc/CRuntimeClass.h"
#include "mfc/CSize.h"

class CObList;
class CWnd;
class ZnDockablePane;
class ZnPaneContainer;
class ZnPaneDivider;

class KSAPI ZnPaneContainerManager : public CObject
{
    DECLARE_DYNCREATE(ZnPaneContainerManager)
public:
    ZnPaneContainerManager();
    ~ZnPaneContainerManager() override;
    ZnPaneContainerManager(ZnPaneContainerManager const &) = delete;
    ZnPaneContainerManager &operator=(ZnPaneContainerManager const &) = delete;

    // The site whose windows the inner dividers become children of, and the
    // default divider this tree belongs to (null for a temporary holder).
    bool Create(CWnd *pDockSite, ZnPaneDivider *pDefaultDivider);
    CWnd *GetDockSite() const { return m_pDockSite; }
    ZnPaneDivider *GetDefaultPaneDivider() const { return m_pDefaultDivider; }
    ZnPaneContainer *GetRootContainer() const { return m_pRootContainer; }

    // The first pane of an empty tree.
    bool AddPane(ZnDockablePane *pPane);
    // pPane beside pTarget on side dwAlign of it (left, top, right, bottom).
    bool InsertPane(ZnDockablePane *pPane, ZnDockablePane *pTarget, unsigned long dwAlign);
    // Moves the whole tree of rSource beside pTarget (or beside the whole
    // tree when pTarget is null) on side dwAlign; rSource is left empty.
    bool AddPaneContainer(ZnDockablePane *pTarget, ZnPaneContainerManager &rSource, unsigned long dwAlign);
    // Takes pPane out; the container that held it collapses into its parent.
    bool RemovePane(ZnDockablePane *pPane);
    bool ReplacePane(ZnDockablePane *pOld, ZnDockablePane *pNew);
    ZnPaneContainer *FindPaneContainer(ZnDockablePane const *pPane, int &bLeft) const;

    ZnDockablePane *GetFirstPane() const;
    void GetPanes(CObList &lst) const;
    void GetPaneDividers(CObList &lst) const;
    int GetPaneCount() const;
    bool IsEmpty() const { return GetPaneCount() == 0; }
    bool HasVisiblePane() const;
    CSize GetMinSize() const;
    // Collapses containers that hold no pane.
    void ReleaseEmptyPaneContainers();

    // Lays the tree out in rect (dock site client coordinates).
    void Layout(CRect const &rect);
    CRect GetRootContainerRect() const;
    // A user or SetSizeInContainer moved inner divider pDivider by nOffset
    // pixels: the first half grows by nOffset within the halves' minimums
    // and the container keeps the result as its percentage. False when the
    // divider is not one of this tree's.
    bool OnPaneDividerMove(ZnPaneDivider *pDivider, int nOffset);
    // The limits of a drag of inner divider pDivider, as offsets from where
    // it is now.
    bool GetDividerDragLimits(ZnPaneDivider const *pDivider, int &lo, int &hi) const;

private:
    ZnPaneDivider *MakeDivider(bool bSideBySide);
    void DestroyDivider(ZnPaneDivider *pDivider);
    void Normalise(ZnPaneContainer *pContainer);

    CWnd *m_pDockSite;
    ZnPaneDivider *m_pDefaultDivider;
    ZnPaneContainer *m_pRootContainer;
    friend class ZnPaneContainer;
};
