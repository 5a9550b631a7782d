#pragma once
#include "mfc/CWnd.h"

#include <commctrl.h>

class CImageList;

// The platform tree view as a window object: thin calls of its messages.
// Every query of a missing window or item answers null, false or 0.
class KSAPI CTreeCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    CTreeCtrl();
    ~CTreeCtrl() override;

    bool Create(unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd, unsigned int nID);

    HTREEITEM InsertItem(TVINSERTSTRUCTA const *pInsert);
    bool DeleteItem(HTREEITEM hItem);
    bool DeleteAllItems();
    // TVGN_… relation codes.
    HTREEITEM GetNextItem(HTREEITEM hItem, unsigned int nCode) const;
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM hItem) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const;
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
    unsigned int GetCount() const;
    bool Select(HTREEITEM hItem, unsigned int nCode);
    bool Expand(HTREEITEM hItem, unsigned int nCode);
    bool EnsureVisible(HTREEITEM hItem);
    bool GetItem(TVITEMA *pItem) const;
    bool SetItem(TVITEMA const *pItem);
    unsigned int GetItemState(HTREEITEM hItem, unsigned int nStateMask) const;
    bool SetItemState(HTREEITEM hItem, unsigned int nState, unsigned int nStateMask);
    // The item's rectangle, of its label only with bTextOnly.
    bool GetItemRect(HTREEITEM hItem, RECT *pRect, bool bTextOnly) const;
    HTREEITEM HitTest(TVHITTESTINFO *pInfo) const;
    HWND EditLabel(HTREEITEM hItem);
    HWND GetEditControl() const;
    // The list of the kind (TVSIL_NORMAL, TVSIL_STATE) that was set before:
    // the objects wrapping lists are the caller's.
    HIMAGELIST SetImageList(CImageList *pImageList, int nImageListType);
    HIMAGELIST GetImageList(int nImageListType) const;
    unsigned long GetExtendedStyle() const;
    // The bits of dwMask become those of dwStyle; the result is 0 (S_OK) on
    // success.
    long SetExtendedStyle(unsigned long dwMask, unsigned long dwStyle);
};
