#include "controls/MultiSelTreeControl.h"

#include "controls/ZnMultiSelTreeCtrl.h"

MultiSelTreeControl::MultiSelTreeControl() = default;

ZnTreeCtrl *MultiSelTreeControl::NewPZnTreeCtrl()
{
    return new ZnMultiSelTreeCtrl(this);
}

ZnMultiSelTreeCtrl *MultiSelTreeControl::Multi() const
{
    return static_cast<ZnMultiSelTreeCtrl *>(GetPCTreeCtrl());
}

HTREEITEM MultiSelTreeControl::GetFirstSelected() const
{
    if (!Multi())
        return nullptr;
    HTREEITEM const first = Multi()->GetRootItem();
    return first && Multi()->IsSelected(first) ? first : GetNextSelected(first);
}

HTREEITEM MultiSelTreeControl::GetNextSelected(HTREEITEM hItem) const
{
    if (!ValidItem(hItem))
        return nullptr;
    for (HTREEITEM h = Multi()->GetNextInTree(hItem); h; h = Multi()->GetNextInTree(h))
        if (Multi()->IsSelected(h))
            return h;
    return nullptr;
}

void MultiSelTreeControl::SelectAll(bool bSelect)
{
    if (!Multi())
        return;
    std::vector<HTREEITEM> all;
    if (bSelect)
        for (HTREEITEM h = Multi()->GetRootItem(); h; h = Multi()->GetNextInTree(h))
            all.push_back(h);
    Multi()->SetSelection(all);
}

bool MultiSelTreeControl::IsSelected(HTREEITEM hItem) const
{
    return ValidItem(hItem) && Multi()->IsSelected(hItem);
}

bool MultiSelTreeControl::SetItemSelected(HTREEITEM hItem, bool bSelected)
{
    return ValidItem(hItem) && Multi()->SetItemState(hItem, bSelected ? TVIS_SELECTED : 0, TVIS_SELECTED);
}

std::vector<HTREEITEM> MultiSelTreeControl::GetSelection() const
{
    return Multi() ? Multi()->GetSelection() : std::vector<HTREEITEM>();
}
