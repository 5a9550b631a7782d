#pragma once
#include "mfc/CHeaderCtrl.h"
#include "mfc/CWnd.h"

#include <commctrl.h>

class CImageList;

// The platform list view as a window object: thin calls of its messages.
class KSAPI CListCtrl : public CWnd
{
    DECLARE_DYNAMIC(CListCtrl)
public:
    CListCtrl();
    ~CListCtrl() override;

    bool Create(unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd, unsigned int nID);

    // Owner data: the number of items the control asks about.
    bool SetItemCountEx(int iCount, unsigned long dwFlags = LVSICF_NOINVALIDATEALL);
    int GetItemCount() const;
    int InsertColumn(int nCol, LVCOLUMNA const *pColumn);
    int InsertColumn(int nCol, char const *lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    bool DeleteColumn(int nCol);
    bool SetColumn(int nCol, LVCOLUMNA const *pColumn);
    bool GetColumn(int nCol, LVCOLUMNA *pColumn) const;
    bool SetColumnWidth(int nCol, int cx);
    int GetColumnWidth(int nCol) const;
    bool SetItemState(int nItem, unsigned int nState, unsigned int nMask);
    unsigned int GetItemState(int nItem, unsigned int nMask) const;
    int GetNextItem(int nItem, int nFlags) const;
    unsigned int GetSelectedCount() const;
    int GetSelectionMark() const;
    int SetSelectionMark(int iIndex);
    bool GetItemRect(int nItem, RECT *lpRect, unsigned int nCode) const;
    bool GetSubItemRect(int iItem, int iSubItem, int nArea, RECT &ref) const;
    int SubItemHitTest(LVHITTESTINFO *pInfo) const;
    int HitTest(LVHITTESTINFO *pHitTestInfo) const;
    bool EnsureVisible(int nItem, bool bPartialOK);
    int GetTopIndex() const;
    int GetCountPerPage() const;
    bool Scroll(SIZE size);
    unsigned long GetExtendedStyle() const;
    unsigned long SetExtendedStyle(unsigned long dwNewStyle);
    // The list of the type (LVSIL_NORMAL, LVSIL_SMALL …) that was set
    // before, as a handle: the objects wrapping lists are the caller's.
    HIMAGELIST SetImageList(CImageList *pImageList, int nImageListType);
    // The header of the report view (a temporary object unless one has been
    // attached to it).
    CHeaderCtrl *GetHeaderCtrl() const;
    HWND EditLabel(int nItem);
    bool RedrawItems(int nFirst, int nLast);
    bool Update(int nItem);
    int GetItemText(int nItem, int nSubItem, char *lpszText, int nLen) const;
    bool Arrange(unsigned int nCode);
    void SetIconSpacing(int cx, int cy);
    int SetView(unsigned long iView);
    unsigned long GetView() const;
    bool SetTileViewInfo(LVTILEVIEWINFO *ptvi);
    // In GetItemRect and GetSubItemRect's codes.
    static constexpr unsigned int ItemBounds = LVIR_BOUNDS;
};
