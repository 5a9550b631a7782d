#pragma once
#include "mfc/CPoint.h"
#include "mfc/CTreeCtrl.h"

class TreeControl;

// The window object of a TreeControl: answers the tree's requests for item
// data through the TreeControl's model and turns the platform's
// notifications into the TreeControl's calls.
class KSAPI ZnTreeCtrl : public CTreeCtrl
{
    friend class TreeControl;

public:
    explicit ZnTreeCtrl(TreeControl *pTree);
    TreeControl *GetTreeControl() const { return m_pTree; }

    // Deletes every child of the item (and their subtrees).
    void DeleteAllChildren(HTREEITEM hItem);
    // The item has a first child and that child is the next visible item:
    // the item is expanded and shown.
    bool HasVisibleChild(HTREEITEM hItem) const;
    // The item asks the model again for its text, images and child count.
    void UpdateItem(HTREEITEM hItem);
    // The item under the cursor (null on none), with the cursor position in
    // client coordinates and the hit-test flags (TVHT_…).
    HTREEITEM GetClickItem(CPoint &rPoint, unsigned int &rFlags);

    bool OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;
    LRESULT WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam) override;

protected:
    void PostNcDestroy() override;
    // Inside a notification that reaches the TreeControl: it must not go
    // away under the control's feet.
    int m_nDepth;

private:
    LRESULT ImpGetDispInfo(NMTVDISPINFOA *pInfo, bool bWide);
    void ImpEndLabelEdit(NMTVDISPINFOA *pInfo, bool bWide);
    // The TreeControl went while a notification ran: destroy the control
    // when the notification is over.
    void ImpOrphan();

    TreeControl *m_pTree;
    bool m_bOrphan;
};
