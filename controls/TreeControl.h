#pragma once
#include "controls/TreeControlData.h"
#include "graphics/Point.h"
#include "window/Control.h"

class CImageList;
class ZnTreeCtrl;

// A tree view that stores no texts or images: the application's
// TreeControlData inserts the items (with callbacks for text, images and
// child count), answers for them whenever the tree draws, and fills an
// item's children when it is expanded. Clicks, double clicks, right clicks,
// drags, selection changes and label edits come back as calls of the
// virtual operations below, whose defaults do nothing.
//
// Two-phase: construct, then Create. Every item operation takes the item as
// it is: a null or stale item does nothing and answers null or false. The
// tree may be deleted from its own virtual operation or from its model's
// callbacks: it hides at once, and its platform control goes when the
// notification is over. The model is not the tree's: it is neither deleted
// with it nor used after the tree is gone.
class KSAPI TreeControl : public Control
{
    friend class ZnTreeCtrl;

public:
    TreeControl();
    ~TreeControl() override;

    // Style bits as for every control; 0x100000 adds show-selection-always
    // and hot tracking. False when the tree exists already or the platform
    // refuses the control (no parent).
    virtual bool Create(Window *pParent, TreeControlData *pData, int nStyle);
    // The items of the former model go; the new one (or none) is attached.
    void ChangeTreeControlData(TreeControlData *pData);
    TreeControlData *GetTreeControlData() const { return m_pData; }
    ZnTreeCtrl *GetPCTreeCtrl() const { return m_pTreeCtrl; }

    // --- navigation
    HTREEITEM GetRootItem() const;
    HTREEITEM GetChildItem(HTREEITEM hItem) const;
    HTREEITEM GetFirstVisible() const;
    HTREEITEM GetNextSibling(HTREEITEM hItem) const;
    HTREEITEM GetPrevSibling(HTREEITEM hItem) const;
    HTREEITEM GetParentItem(HTREEITEM hItem) const;
    HTREEITEM GetNextVisible(HTREEITEM hItem) const;
    HTREEITEM GetPrevVisible(HTREEITEM hItem) const;
    // The caret item.
    HTREEITEM GetSelected() const;
    // The selection in visible order; one item at most in this tree.
    virtual HTREEITEM GetFirstSelected() const;
    virtual HTREEITEM GetNextSelected(HTREEITEM hItem) const;
    // False clears the selection; true selects every item where more than
    // one may be (it changes nothing in this tree).
    virtual void SelectAll(bool bSelect);
    bool IsExpanded(HTREEITEM hItem) const;
    unsigned int GetItemCount() const;

    // --- expansion: the model's Expand or Collapse is called once, as for
    // the user's click on the button. Expanding an expanded item, or one
    // the model gives no children, changes nothing (false for the latter).
    bool Expand(HTREEITEM hItem);
    bool Collapse(HTREEITEM hItem);

    // --- selection and display; null for Select clears the caret
    bool Select(HTREEITEM hItem);
    bool SelectSetFirstVisible(HTREEITEM hItem);
    bool SetDropHighlight(HTREEITEM hItem);
    void ClearDropHighlight();
    bool EnsureVisible(HTREEITEM hItem);
    // The item asks the model again (a changed text, image or child count).
    void UpdateItem(HTREEITEM hItem);

    // --- labels
    void SetCanEditLabels(bool bCan);
    bool GetCanEditLabels() const { return m_bCanEditLabels; }
    // Edits the label even where labels are not editable (that one time);
    // false when no edit began.
    bool EditLabel(HTREEITEM hItem);

    // The images of the items; the list stays the caller's, null removes it.
    void SetImageList(CImageList *pList);
    bool HasImageList() const { return m_bImageListSet; }

    // --- for the application; the unsigned values are the hit-test flags
    // (TVHT_… of <commctrl.h>), points are in client coordinates, the item is null where
    // the pointer is on no item
    virtual void OnItemLClick(HTREEITEM hItem, Point const &rPoint, unsigned int nFlags);
    virtual void OnItemDoubleClick(HTREEITEM hItem, unsigned int nFlags);
    virtual void OnItemRClick(HTREEITEM hItem, Point const &rPoint, unsigned int nFlags);
    virtual void OnSelectionChanged(HTREEITEM hNewItem);
    virtual void OnBeginDrag(HTREEITEM hItem, Point const &rPoint);
    // The edited text, or null when the edit was cancelled; the model
    // takes the text if it wants it, the label shows the model's text.
    virtual void OnEndLabelEdit(HTREEITEM hItem, char *pText);

protected:
    // The platform control object; its platform window is created by Create.
    virtual ZnTreeCtrl *NewPZnTreeCtrl();
    bool ValidItem(HTREEITEM hItem) const;

private:
    bool OwnPaintingAllowed() const override;
    bool ImpExpand(HTREEITEM hItem, bool bExpand);

    ZnTreeCtrl *m_pTreeCtrl;
    bool m_bImageListSet;
    TreeControlData *m_pData;
    bool m_bCanEditLabels;
    // The item the tree expands or collapses itself: the platform's notice
    // of it is not passed on, the model was told already.
    HTREEITEM m_hOwnExpansion;
    // The item last marked as the drop target.
    HTREEITEM m_hDropMark;
};
