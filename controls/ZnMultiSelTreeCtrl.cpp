#include "controls/ZnMultiSelTreeCtrl.h"

#include "controls/TreeControl.h"

#include <algorithm>
#include <set>

ZnMultiSelTreeCtrl::ZnMultiSelTreeCtrl(TreeControl *pTree) : ZnTreeCtrl(pTree), m_hAnchor(nullptr) {}

bool ZnMultiSelTreeCtrl::IsSelected(HTREEITEM hItem) const
{
    return GetItemState(hItem, TVIS_SELECTED) != 0;
}

HTREEITEM ZnMultiSelTreeCtrl::GetNextInTree(HTREEITEM hItem) const
{
    if (!hItem)
        return GetRootItem();
    if (HTREEITEM child = GetChildItem(hItem))
        return child;
    for (HTREEITEM h = hItem; h; h = GetNextItem(h, TVGN_PARENT))
        if (HTREEITEM next = GetNextSiblingItem(h))
            return next;
    return nullptr;
}

std::vector<HTREEITEM> ZnMultiSelTreeCtrl::GetSelection() const
{
    std::vector<HTREEITEM> items;
    for (HTREEITEM h = GetRootItem(); h; h = GetNextInTree(h))
        if (IsSelected(h))
            items.push_back(h);
    return items;
}

void ZnMultiSelTreeCtrl::SetSelection(std::vector<HTREEITEM> const &rItems)
{
    std::set<HTREEITEM> const want(rItems.begin(), rItems.end());
    for (HTREEITEM h = GetRootItem(); h; h = GetNextInTree(h)) {
        bool const on = want.count(h) > 0;
        // Only the items that change: each change repaints its row.
        if (on != IsSelected(h))
            SetItemState(h, on ? TVIS_SELECTED : 0, TVIS_SELECTED);
    }
}

std::vector<HTREEITEM> ZnMultiSelTreeCtrl::VisibleRange(HTREEITEM hFrom, HTREEITEM hTo) const
{
    std::vector<HTREEITEM> items;
    bool inside = false;
    for (HTREEITEM h = GetRootItem(); h; h = GetNextItem(h, TVGN_NEXTVISIBLE)) {
        bool const end = h == hFrom || h == hTo;
        if (end || inside)
            items.push_back(h);
        if (end && (inside || hFrom == hTo))
            return items;
        if (end)
            inside = true;
    }
    // One end is not shown: the other alone.
    return std::vector<HTREEITEM>{hTo};
}

LRESULT ZnMultiSelTreeCtrl::ImpButtonDown(WPARAM wParam, LPARAM lParam)
{
    TVHITTESTINFO hit{};
    hit.pt = POINT{short(LOWORD(lParam)), short(HIWORD(lParam))};
    HTREEITEM const item = HitTest(&hit);
    if (!item || !(hit.flags & TVHT_ONITEM))
        return ZnTreeCtrl::WindowProc(WM_LBUTTONDOWN, wParam, lParam);
    std::vector<HTREEITEM> want;
    bool const control = (wParam & MK_CONTROL) != 0;
    if ((wParam & MK_SHIFT) && ValidHandle(m_hAnchor)) {
        want = VisibleRange(m_hAnchor, item);
        if (control) {
            std::vector<HTREEITEM> const had = GetSelection();
            want.insert(want.end(), had.begin(), had.end());
        }
    } else if (control) {
        want = GetSelection();
        auto const at = std::find(want.begin(), want.end(), item);
        if (at == want.end())
            want.push_back(item);
        else
            want.erase(at);
        m_hAnchor = item;
    } else {
        want.push_back(item);
        m_hAnchor = item;
    }
    // Set before the platform's part, so that the click handlers see it,
    // and again after it, which moved the caret's selection mark.
    SetSelection(want);
    LRESULT const result = ZnTreeCtrl::WindowProc(WM_LBUTTONDOWN, wParam, lParam);
    if (GetTreeControl() && m_hWnd)
        SetSelection(want);
    return result;
}

bool ZnMultiSelTreeCtrl::ValidHandle(HTREEITEM hItem) const
{
    // The anchor may have gone with its parent's collapse.
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_STATE;
    item.hItem = hItem;
    return hItem && GetItem(&item);
}

LRESULT ZnMultiSelTreeCtrl::ImpKeyDown(WPARAM wParam, LPARAM lParam)
{
    bool const control = GetKeyState(VK_CONTROL) < 0;
    if (control && wParam == 'A') {
        std::vector<HTREEITEM> all;
        for (HTREEITEM h = GetRootItem(); h; h = GetNextInTree(h))
            all.push_back(h);
        SetSelection(all);
        return 0;
    }
    HTREEITEM const before = GetSelectedItem();
    LRESULT const result = ZnTreeCtrl::WindowProc(WM_KEYDOWN, wParam, lParam);
    if (!GetTreeControl() || !m_hWnd)
        return result;
    HTREEITEM const caret = GetSelectedItem();
    if (caret && caret != before) {
        if (GetKeyState(VK_SHIFT) < 0 && ValidHandle(m_hAnchor)) {
            SetSelection(VisibleRange(m_hAnchor, caret));
        } else {
            m_hAnchor = caret;
            SetSelection(std::vector<HTREEITEM>{caret});
        }
    }
    return result;
}

LRESULT ZnMultiSelTreeCtrl::WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN && GetTreeControl())
        return ImpButtonDown(wParam, lParam);
    if (message == WM_KEYDOWN && GetTreeControl())
        return ImpKeyDown(wParam, lParam);
    return ZnTreeCtrl::WindowProc(message, wParam, lParam);
}
