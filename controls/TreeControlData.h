#pragma once
#include "frame/Kestrel5Api.h"
#include "text/SString.h"

// The item handle of the platform tree view, declared as its own header
// declares it.
struct _TREEITEM;
typedef struct _TREEITEM *HTREEITEM;

class ZnTreeCtrl;

// The application's tree model. The tree stores no texts or images: every
// item is inserted (InsertNode) with callbacks, and the tree asks this model
// for them whenever it draws or measures the item. The model also fills an
// item's children when it is expanded and may empty them when it collapses.
//
// Items are the tree's handles; a model that keeps data per item maps the
// handles to it. While the owning TreeControl is being destroyed,
// GetIsInDestructor() is true: items then go because the tree goes.
class KSAPI TreeControlData
{
public:
    TreeControlData();
    TreeControlData(TreeControlData const &) = default;
    TreeControlData &operator=(TreeControlData const &) = default;
    virtual ~TreeControlData();

    // The data was attached to the platform control: the model keeps it and
    // inserts the top-level items. The tree has already emptied the control
    // and stored it in the model, so InsertNode works from here on.
    virtual void Attach(ZnTreeCtrl *pTreeCtrl) = 0;
    // The item is about to be expanded: insert its children.
    virtual void Expand(HTREEITEM hItem) = 0;
    // The item is about to be collapsed.
    virtual void Collapse(HTREEITEM hItem) = 0;
    virtual SString GetText(HTREEITEM hItem) = 0;
    // Non-zero: the item has children and shows an expand button.
    virtual int HasChildren(HTREEITEM hItem) = 0;
    virtual int GetImageInx(HTREEITEM hItem);
    virtual int GetSelectedImageInx(HTREEITEM hItem);

    // A new item under hParent (null: at the top) after hInsertAfter (null:
    // last), all of whose data is asked back through this model; null when
    // the model is attached to no tree or the tree refuses.
    HTREEITEM InsertNode(HTREEITEM hParent, HTREEITEM hInsertAfter);
    // Deletes the item and its subtree; false for no item or no tree.
    bool RemoveNode(HTREEITEM hItem);

    ZnTreeCtrl *GetPZnTreeCtrl() const { return m_pTreeCtrl; }
    void SetPZnTreeCtrl(ZnTreeCtrl *pTreeCtrl) { m_pTreeCtrl = pTreeCtrl; }
    bool GetIsInDestructor() const { return m_bIsInDestructor; }
    void SetIsInDestructor(bool b) { m_bIsInDestructor = b; }

protected:
    ZnTreeCtrl *m_pTreeCtrl;
    bool m_bIsInDestructor;
};
