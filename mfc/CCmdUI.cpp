#include "mfc/CCmdUI.h"

#include "mfc/CWnd.h"

#include <windows.h>

CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_pMenu(nullptr), m_pOther(nullptr), m_bEnableChanged(0), m_bContinueRouting(0),
      m_nIndexMax(0)
{
}

void CCmdUI::Enable(int bOn)
{
    if (m_pOther && m_pOther->m_hWnd)
        EnableWindow(m_pOther->m_hWnd, bOn != 0);
    m_bEnableChanged = 1;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pOther && m_pOther->m_hWnd)
        SendMessageA(m_pOther->m_hWnd, BM_SETCHECK, WPARAM(nCheck), 0);
}

void CCmdUI::SetRadio(int bOn)
{
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(char const *lpszText)
{
    if (m_pOther && m_pOther->m_hWnd && lpszText)
        SetWindowTextA(m_pOther->m_hWnd, lpszText);
}
