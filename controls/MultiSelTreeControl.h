#pragma once
#include "controls/TreeControl.h"

#include <vector>

class ZnMultiSelTreeCtrl;

// A tree in which any number of items may be selected: a click selects one
// item, a Control click adds or removes one, a Shift click or Shift with the
// arrow keys selects the items from the anchor on in visible order, and
// Control+A selects all. The caret (GetSelected, Select) is the item with
// the focus; it need not be selected. Selected items go when the model
// deletes them (a collapse).
class KSAPI MultiSelTreeControl : public TreeControl
{
public:
    MultiSelTreeControl();

    // The selection in tree order: parents before their children.
    HTREEITEM GetFirstSelected() const override;
    HTREEITEM GetNextSelected(HTREEITEM hItem) const override;
    void SelectAll(bool bSelect) override;
    bool IsSelected(HTREEITEM hItem) const;
    // Adds the item to the selection or removes it; false for a bad item.
    bool SetItemSelected(HTREEITEM hItem, bool bSelected);
    std::vector<HTREEITEM> GetSelection() const;

protected:
    ZnTreeCtrl *NewPZnTreeCtrl() override;

private:
    ZnMultiSelTreeCtrl *Multi() const;
};
