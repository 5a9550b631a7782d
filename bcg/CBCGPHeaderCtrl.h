#pragma once
#include "mfc/CHeaderCtrl.h"

// The control library's header: the platform header that shows which column
// the list is sorted by, with an arrow beside that column's title. Without
// visual styles it draws its owner-drawn items itself.
class KSAPI CBCGPHeaderCtrl : public CHeaderCtrl
{
    DECLARE_DYNAMIC(CBCGPHeaderCtrl)
public:
    CBCGPHeaderCtrl() = default;
    // -1: no column is sorted.
    void SetSortColumn(int nColumn, bool bAscending);
    int GetSortColumn() const { return m_nSortColumn; }
    bool IsAscending() const { return m_bAscending; }

    bool OnChildDrawItem(DRAWITEMSTRUCT *lpDrawItemStruct) override;
    // Draws one item: its face, title and, for the sorted column, the arrow.
    void DrawItem(HDC hDC, int nItem, RECT const &rRect, bool bPressed);

private:
    int m_nSortColumn = -1;
    bool m_bAscending = true;
};
