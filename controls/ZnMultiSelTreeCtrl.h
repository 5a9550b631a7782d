#pragma once
#include "controls/ZnTreeCtrl.h"

#include <vector>

// The window object of a MultiSelTreeControl: the platform tree view keeps
// one caret; this object keeps any number of items selected (their
// TVIS_SELECTED state) and restores them after the platform moved the caret.
// A click selects one item, a Control click adds or removes one, a Shift
// click (or Shift with the arrow keys) the items from the anchor to it in
// visible order; Control+A selects all.
class KSAPI ZnMultiSelTreeCtrl : public ZnTreeCtrl
{
public:
    explicit ZnMultiSelTreeCtrl(TreeControl *pTree);

    bool IsSelected(HTREEITEM hItem) const;
    // Every item in tree order (parents before their children).
    HTREEITEM GetNextInTree(HTREEITEM hItem) const;
    // Exactly these items are selected afterwards.
    void SetSelection(std::vector<HTREEITEM> const &rItems);
    std::vector<HTREEITEM> GetSelection() const;
    // The items from hFrom to hTo (either order) in visible order.
    std::vector<HTREEITEM> VisibleRange(HTREEITEM hFrom, HTREEITEM hTo) const;
    HTREEITEM GetAnchor() const { return m_hAnchor; }

    LRESULT WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam) override;

private:
    bool ValidHandle(HTREEITEM hItem) const;
    LRESULT ImpButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT ImpKeyDown(WPARAM wParam, LPARAM lParam);

    HTREEITEM m_hAnchor;
};
