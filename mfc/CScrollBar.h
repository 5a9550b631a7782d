#pragma once
#include "mfc/CWnd.h"

// The platform scroll-bar control as a window object.
class KSAPI CScrollBar : public CWnd
{
    DECLARE_DYNAMIC(CScrollBar)
public:
    CScrollBar() = default;
    bool Create(unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd, unsigned int nID);
    int GetScrollPos() const;
    int SetScrollPos(int nPos, bool bRedraw = true);
    void GetScrollRange(int *lpMinPos, int *lpMaxPos) const;
    void SetScrollRange(int nMinPos, int nMaxPos, bool bRedraw = true);
};
