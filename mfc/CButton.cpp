#include "mfc/CButton.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

bool CButton::Create(char const *lpszCaption, unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd,
                     unsigned int nID)
{
    return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

int CButton::GetCheck() const
{
    return m_hWnd ? static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)) : 0;
}

void CButton::SetCheck(int nCheck)
{
    if (m_hWnd)
        ::SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(nCheck), 0);
}

unsigned int CButton::GetState() const
{
    return m_hWnd ? static_cast<unsigned int>(::SendMessageA(m_hWnd, BM_GETSTATE, 0, 0)) : 0;
}
