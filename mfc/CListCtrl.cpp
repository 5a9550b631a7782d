#include "mfc/CListCtrl.h"

#include "mfc/CImageList.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace {
template <class R = LRESULT> R Send(HWND h, UINT m, WPARAM w = 0, LPARAM l = 0, R none = R())
{
    return h ? R(::SendMessageA(h, m, w, l)) : none;
}
} // namespace

CListCtrl::CListCtrl() = default;
CListCtrl::~CListCtrl() = default;

bool CListCtrl::Create(unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd, unsigned int nID)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    return CWnd::Create(WC_LISTVIEWA, "", dwStyle, rect, pParentWnd, nID);
}

bool CListCtrl::SetItemCountEx(int iCount, unsigned long dwFlags)
{
    return Send<bool>(m_hWnd, LVM_SETITEMCOUNT, WPARAM(iCount), LPARAM(dwFlags));
}

int CListCtrl::GetItemCount() const
{
    return Send<int>(m_hWnd, LVM_GETITEMCOUNT);
}

int CListCtrl::InsertColumn(int nCol, LVCOLUMNA const *pColumn)
{
    return Send<int>(m_hWnd, LVM_INSERTCOLUMNA, WPARAM(nCol), LPARAM(pColumn), -1);
}

int CListCtrl::InsertColumn(int nCol, char const *lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMNA c{};
    c.mask = LVCF_FMT | LVCF_TEXT;
    c.fmt = nFormat;
    c.pszText = const_cast<char *>(lpszColumnHeading);
    if (nWidth >= 0) {
        c.mask |= LVCF_WIDTH;
        c.cx = nWidth;
    }
    if (nSubItem >= 0) {
        c.mask |= LVCF_SUBITEM;
        c.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &c);
}

bool CListCtrl::DeleteColumn(int nCol)
{
    return Send<bool>(m_hWnd, LVM_DELETECOLUMN, WPARAM(nCol));
}

bool CListCtrl::SetColumn(int nCol, LVCOLUMNA const *pColumn)
{
    return Send<bool>(m_hWnd, LVM_SETCOLUMNA, WPARAM(nCol), LPARAM(pColumn));
}

bool CListCtrl::GetColumn(int nCol, LVCOLUMNA *pColumn) const
{
    return Send<bool>(m_hWnd, LVM_GETCOLUMNA, WPARAM(nCol), LPARAM(pColumn));
}

bool CListCtrl::SetColumnWidth(int nCol, int cx)
{
    return Send<bool>(m_hWnd, LVM_SETCOLUMNWIDTH, WPARAM(nCol), MAKELPARAM(cx, 0));
}

int CListCtrl::GetColumnWidth(int nCol) const
{
    return Send<int>(m_hWnd, LVM_GETCOLUMNWIDTH, WPARAM(nCol));
}

bool CListCtrl::SetItemState(int nItem, unsigned int nState, unsigned int nMask)
{
    LVITEMA item{};
    item.stateMask = nMask;
    item.state = nState;
    return Send<bool>(m_hWnd, LVM_SETITEMSTATE, WPARAM(nItem), LPARAM(&item));
}

unsigned int CListCtrl::GetItemState(int nItem, unsigned int nMask) const
{
    return Send<unsigned int>(m_hWnd, LVM_GETITEMSTATE, WPARAM(nItem), LPARAM(nMask));
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const
{
    return Send<int>(m_hWnd, LVM_GETNEXTITEM, WPARAM(nItem), MAKELPARAM(nFlags, 0), -1);
}

unsigned int CListCtrl::GetSelectedCount() const
{
    return Send<unsigned int>(m_hWnd, LVM_GETSELECTEDCOUNT);
}

int CListCtrl::GetSelectionMark() const
{
    return Send<int>(m_hWnd, LVM_GETSELECTIONMARK, 0, 0, -1);
}

int CListCtrl::SetSelectionMark(int iIndex)
{
    return Send<int>(m_hWnd, LVM_SETSELECTIONMARK, 0, LPARAM(iIndex), -1);
}

bool CListCtrl::GetItemRect(int nItem, RECT *lpRect, unsigned int nCode) const
{
    lpRect->left = LONG(nCode);
    return Send<bool>(m_hWnd, LVM_GETITEMRECT, WPARAM(nItem), LPARAM(lpRect));
}

bool CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, RECT &ref) const
{
    ref.top = iSubItem;
    ref.left = nArea;
    return Send<bool>(m_hWnd, LVM_GETSUBITEMRECT, WPARAM(iItem), LPARAM(&ref));
}

int CListCtrl::SubItemHitTest(LVHITTESTINFO *pInfo) const
{
    return Send<int>(m_hWnd, LVM_SUBITEMHITTEST, 0, LPARAM(pInfo), -1);
}

int CListCtrl::HitTest(LVHITTESTINFO *pHitTestInfo) const
{
    return Send<int>(m_hWnd, LVM_HITTEST, 0, LPARAM(pHitTestInfo), -1);
}

bool CListCtrl::EnsureVisible(int nItem, bool bPartialOK)
{
    return Send<bool>(m_hWnd, LVM_ENSUREVISIBLE, WPARAM(nItem), MAKELPARAM(bPartialOK, 0));
}

int CListCtrl::GetTopIndex() const
{
    return Send<int>(m_hWnd, LVM_GETTOPINDEX);
}

int CListCtrl::GetCountPerPage() const
{
    return Send<int>(m_hWnd, LVM_GETCOUNTPERPAGE);
}

bool CListCtrl::Scroll(SIZE size)
{
    return Send<bool>(m_hWnd, LVM_SCROLL, WPARAM(size.cx), LPARAM(size.cy));
}

unsigned long CListCtrl::GetExtendedStyle() const
{
    return Send<unsigned long>(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE);
}

unsigned long CListCtrl::SetExtendedStyle(unsigned long dwNewStyle)
{
    return Send<unsigned long>(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(dwNewStyle));
}

HIMAGELIST CListCtrl::SetImageList(CImageList *pImageList, int nImageListType)
{
    return Send<HIMAGELIST>(m_hWnd, LVM_SETIMAGELIST, WPARAM(nImageListType),
                            LPARAM(pImageList ? pImageList->GetSafeHandle() : nullptr));
}

CHeaderCtrl *CListCtrl::GetHeaderCtrl() const
{
    HWND h = Send<HWND>(m_hWnd, LVM_GETHEADER);
    return h ? static_cast<CHeaderCtrl *>(CWnd::FromHandle(h)) : nullptr;
}

HWND CListCtrl::EditLabel(int nItem)
{
    return Send<HWND>(m_hWnd, LVM_EDITLABELA, WPARAM(nItem));
}

bool CListCtrl::RedrawItems(int nFirst, int nLast)
{
    return Send<bool>(m_hWnd, LVM_REDRAWITEMS, WPARAM(nFirst), LPARAM(nLast));
}

bool CListCtrl::Update(int nItem)
{
    return Send<bool>(m_hWnd, LVM_UPDATE, WPARAM(nItem));
}

int CListCtrl::GetItemText(int nItem, int nSubItem, char *lpszText, int nLen) const
{
    LVITEMA item{};
    item.iSubItem = nSubItem;
    item.pszText = lpszText;
    item.cchTextMax = nLen;
    return Send<int>(m_hWnd, LVM_GETITEMTEXTA, WPARAM(nItem), LPARAM(&item));
}

bool CListCtrl::Arrange(unsigned int nCode)
{
    return Send<bool>(m_hWnd, LVM_ARRANGE, WPARAM(nCode));
}

void CListCtrl::SetIconSpacing(int cx, int cy)
{
    Send(m_hWnd, LVM_SETICONSPACING, 0, MAKELPARAM(cx, cy));
}

int CListCtrl::SetView(unsigned long iView)
{
    return Send<int>(m_hWnd, LVM_SETVIEW, WPARAM(iView), 0, -1);
}

unsigned long CListCtrl::GetView() const
{
    return Send<unsigned long>(m_hWnd, LVM_GETVIEW);
}

bool CListCtrl::SetTileViewInfo(LVTILEVIEWINFO *ptvi)
{
    return Send<bool>(m_hWnd, LVM_SETTILEVIEWINFO, 0, LPARAM(ptvi));
}
