#pragma once
#include "mfc/CWnd.h"

#include <commctrl.h>

// The platform header control (the column titles of a list view) as a window
// object.
class KSAPI CHeaderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    CHeaderCtrl() = default;
    int GetItemCount() const;
    bool GetItem(int nPos, HDITEMA *pHeaderItem) const;
    bool SetItem(int nPos, HDITEMA *pHeaderItem);
    bool GetItemRect(int nIndex, RECT *lpRect) const;
    int OrderToIndex(int nOrder) const;
    // The index of the item under a point of the header's client area, or -1.
    int HitTest(POINT pt) const;
};
