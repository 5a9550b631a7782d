#include "mfc/CTreeCtrl.h"

#include "mfc/CImageList.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace {
template <class R = LRESULT> R Send(HWND h, UINT m, WPARAM w = 0, LPARAM l = 0, R none = R())
{
    return h ? R(::SendMessageA(h, m, w, l)) : none;
}
} // namespace

CTreeCtrl::CTreeCtrl() = default;
CTreeCtrl::~CTreeCtrl() = default;

bool CTreeCtrl::Create(unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd, unsigned int nID)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    return CWnd::Create(WC_TREEVIEWA, "", dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(TVINSERTSTRUCTA const *pInsert)
{
    return pInsert ? Send<HTREEITEM>(m_hWnd, TVM_INSERTITEMA, 0, LPARAM(pInsert)) : nullptr;
}

bool CTreeCtrl::DeleteItem(HTREEITEM hItem)
{
    // A null item would be every item (TVI_ROOT): not what a caller of one
    // item's deletion means.
    return hItem && Send<bool>(m_hWnd, TVM_DELETEITEM, 0, LPARAM(hItem));
}

bool CTreeCtrl::DeleteAllItems()
{
    return Send<bool>(m_hWnd, TVM_DELETEITEM, 0, LPARAM(TVI_ROOT));
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM hItem, unsigned int nCode) const
{
    return Send<HTREEITEM>(m_hWnd, TVM_GETNEXTITEM, WPARAM(nCode), LPARAM(hItem));
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM hItem) const
{
    return GetNextItem(hItem, TVGN_CHILD);
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const
{
    return hItem ? GetNextItem(hItem, TVGN_NEXT) : nullptr;
}

unsigned int CTreeCtrl::GetCount() const
{
    return Send<unsigned int>(m_hWnd, TVM_GETCOUNT);
}

bool CTreeCtrl::Select(HTREEITEM hItem, unsigned int nCode)
{
    return Send<bool>(m_hWnd, TVM_SELECTITEM, WPARAM(nCode), LPARAM(hItem));
}

bool CTreeCtrl::Expand(HTREEITEM hItem, unsigned int nCode)
{
    return hItem && Send<bool>(m_hWnd, TVM_EXPAND, WPARAM(nCode), LPARAM(hItem));
}

bool CTreeCtrl::EnsureVisible(HTREEITEM hItem)
{
    return hItem && Send<bool>(m_hWnd, TVM_ENSUREVISIBLE, 0, LPARAM(hItem));
}

bool CTreeCtrl::GetItem(TVITEMA *pItem) const
{
    return pItem && pItem->hItem && Send<bool>(m_hWnd, TVM_GETITEMA, 0, LPARAM(pItem));
}

bool CTreeCtrl::SetItem(TVITEMA const *pItem)
{
    return pItem && pItem->hItem && Send<bool>(m_hWnd, TVM_SETITEMA, 0, LPARAM(pItem));
}

unsigned int CTreeCtrl::GetItemState(HTREEITEM hItem, unsigned int nStateMask) const
{
    return hItem ? Send<unsigned int>(m_hWnd, TVM_GETITEMSTATE, WPARAM(hItem), LPARAM(nStateMask)) & nStateMask : 0;
}

bool CTreeCtrl::SetItemState(HTREEITEM hItem, unsigned int nState, unsigned int nStateMask)
{
    TVITEMA item{};
    item.mask = TVIF_STATE;
    item.hItem = hItem;
    item.state = nState;
    item.stateMask = nStateMask;
    return SetItem(&item);
}

bool CTreeCtrl::GetItemRect(HTREEITEM hItem, RECT *pRect, bool bTextOnly) const
{
    if (!hItem || !pRect)
        return false;
    // The message takes the item in the rectangle it fills.
    *reinterpret_cast<HTREEITEM *>(pRect) = hItem;
    return Send<bool>(m_hWnd, TVM_GETITEMRECT, WPARAM(bTextOnly), LPARAM(pRect));
}

HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO *pInfo) const
{
    return pInfo ? Send<HTREEITEM>(m_hWnd, TVM_HITTEST, 0, LPARAM(pInfo)) : nullptr;
}

HWND CTreeCtrl::EditLabel(HTREEITEM hItem)
{
    return hItem ? Send<HWND>(m_hWnd, TVM_EDITLABELA, 0, LPARAM(hItem)) : nullptr;
}

HWND CTreeCtrl::GetEditControl() const
{
    return Send<HWND>(m_hWnd, TVM_GETEDITCONTROL);
}

HIMAGELIST CTreeCtrl::SetImageList(CImageList *pImageList, int nImageListType)
{
    return Send<HIMAGELIST>(m_hWnd, TVM_SETIMAGELIST, WPARAM(nImageListType),
                            LPARAM(pImageList ? pImageList->GetSafeHandle() : nullptr));
}

HIMAGELIST CTreeCtrl::GetImageList(int nImageListType) const
{
    return Send<HIMAGELIST>(m_hWnd, TVM_GETIMAGELIST, WPARAM(nImageListType));
}

unsigned long CTreeCtrl::GetExtendedStyle() const
{
    return Send<unsigned long>(m_hWnd, TVM_GETEXTENDEDSTYLE);
}

long CTreeCtrl::SetExtendedStyle(unsigned long dwMask, unsigned long dwStyle)
{
    return Send<long>(m_hWnd, TVM_SETEXTENDEDSTYLE, WPARAM(dwMask), LPARAM(dwStyle), -1);
}
