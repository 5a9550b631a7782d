#include "mfc/CToolBarCtrl.h"

IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)

namespace {
template <class R = LRESULT> R Send(HWND h, UINT m, WPARAM w = 0, LPARAM l = 0, R none = R())
{
    return h ? R(::SendMessageA(h, m, w, l)) : none;
}
} // namespace

bool CToolBarCtrl::Create(unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd, unsigned int nID)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    if (!CWnd::Create(TOOLBARCLASSNAMEA, "", dwStyle, rect, pParentWnd, nID))
        return false;
    // The control must know its button record's size before the first add.
    Send(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return true;
}

int CToolBarCtrl::GetButtonCount() const
{
    return Send<int>(m_hWnd, TB_BUTTONCOUNT);
}

bool CToolBarCtrl::AddButtons(int nCount, TBBUTTON const *pButtons)
{
    return Send<bool>(m_hWnd, TB_ADDBUTTONSA, WPARAM(nCount), LPARAM(pButtons));
}

bool CToolBarCtrl::EnableButton(int nID, bool bEnable)
{
    return Send<bool>(m_hWnd, TB_ENABLEBUTTON, WPARAM(nID), MAKELPARAM(bEnable ? 1 : 0, 0));
}

bool CToolBarCtrl::IsButtonEnabled(int nID) const
{
    return Send<int>(m_hWnd, TB_ISBUTTONENABLED, WPARAM(nID)) != 0;
}

int CToolBarCtrl::CommandToIndex(unsigned int nID) const
{
    return Send<int>(m_hWnd, TB_COMMANDTOINDEX, WPARAM(nID), 0, -1);
}

bool CToolBarCtrl::GetButtonInfo(int nID, TBBUTTONINFOA *pInfo) const
{
    return Send<int>(m_hWnd, TB_GETBUTTONINFOA, WPARAM(nID), LPARAM(pInfo), -1) != -1;
}

bool CToolBarCtrl::SetButtonInfo(int nID, TBBUTTONINFOA const *pInfo)
{
    return Send<bool>(m_hWnd, TB_SETBUTTONINFOA, WPARAM(nID), LPARAM(pInfo));
}

HIMAGELIST CToolBarCtrl::SetImageList(HIMAGELIST hList)
{
    return reinterpret_cast<HIMAGELIST>(Send(m_hWnd, TB_SETIMAGELIST, 0, LPARAM(hList)));
}

int CToolBarCtrl::AddStrings(char const *lpszStrings)
{
    return Send<int>(m_hWnd, TB_ADDSTRINGA, 0, LPARAM(lpszStrings), -1);
}

void CToolBarCtrl::AutoSize()
{
    Send(m_hWnd, TB_AUTOSIZE);
}
