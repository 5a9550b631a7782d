#include "bcg/CBCGPListCtrl.h"

IMPLEMENT_DYNAMIC(CBCGPListCtrl, CListCtrl)

CBCGPListCtrl::~CBCGPListCtrl()
{
    if (m_aHeader.m_hWnd)
        m_aHeader.UnsubclassWindow();
}

bool CBCGPListCtrl::AttachHeader()
{
    if (m_aHeader.m_hWnd || !m_hWnd)
        return false;
    HWND h = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, LVM_GETHEADER, 0, 0));
    return h && m_aHeader.SubclassWindow(h);
}

void CBCGPListCtrl::OnNcDestroy()
{
    // The header goes with the list; its object lets go of the handle.
    if (m_aHeader.m_hWnd)
        m_aHeader.UnsubclassWindow();
    CListCtrl::OnNcDestroy();
}
