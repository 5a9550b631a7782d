#include "mfc/CScrollBar.h"

IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

bool CScrollBar::Create(unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd, unsigned int nID)
{
    return CWnd::Create("SCROLLBAR", nullptr, dwStyle, rect, pParentWnd, nID);
}

int CScrollBar::GetScrollPos() const
{
    return m_hWnd ? ::GetScrollPos(m_hWnd, SB_CTL) : 0;
}

int CScrollBar::SetScrollPos(int nPos, bool bRedraw)
{
    return m_hWnd ? ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw) : 0;
}

void CScrollBar::GetScrollRange(int *lpMinPos, int *lpMaxPos) const
{
    int lo = 0, hi = 0;
    if (m_hWnd)
        ::GetScrollRange(m_hWnd, SB_CTL, &lo, &hi);
    if (lpMinPos)
        *lpMinPos = lo;
    if (lpMaxPos)
        *lpMaxPos = hi;
}

void CScrollBar::SetScrollRange(int nMinPos, int nMaxPos, bool bRedraw)
{
    if (m_hWnd)
        ::SetScrollRange(m_hWnd, SB_CTL, nMinPos, nMaxPos, bRedraw);
}
