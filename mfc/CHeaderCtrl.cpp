#include "mfc/CHeaderCtrl.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)

int CHeaderCtrl::GetItemCount() const
{
    return m_hWnd ? int(::SendMessageA(m_hWnd, HDM_GETITEMCOUNT, 0, 0)) : -1;
}

bool CHeaderCtrl::GetItem(int nPos, HDITEMA *pHeaderItem) const
{
    return m_hWnd && ::SendMessageA(m_hWnd, HDM_GETITEMA, WPARAM(nPos), LPARAM(pHeaderItem)) != 0;
}

bool CHeaderCtrl::SetItem(int nPos, HDITEMA *pHeaderItem)
{
    return m_hWnd && ::SendMessageA(m_hWnd, HDM_SETITEMA, WPARAM(nPos), LPARAM(pHeaderItem)) != 0;
}

bool CHeaderCtrl::GetItemRect(int nIndex, RECT *lpRect) const
{
    return m_hWnd && ::SendMessageA(m_hWnd, HDM_GETITEMRECT, WPARAM(nIndex), LPARAM(lpRect)) != 0;
}

int CHeaderCtrl::OrderToIndex(int nOrder) const
{
    return m_hWnd ? int(::SendMessageA(m_hWnd, HDM_ORDERTOINDEX, WPARAM(nOrder), 0)) : -1;
}

int CHeaderCtrl::HitTest(POINT pt) const
{
    HDHITTESTINFO info{};
    info.pt = pt;
    if (!m_hWnd)
        return -1;
    int const item = int(::SendMessageA(m_hWnd, HDM_HITTEST, 0, LPARAM(&info)));
    return (info.flags & HHT_ONHEADER) ? item : -1;
}
