#include "mfc/CFrameWnd.h"
#include "mfc/AfxWin.h"

#include <windows.h>

IMPLEMENT_DYNAMIC(CFrameWnd, CWnd)

RECT const CFrameWnd::rectDefault = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() = default;

bool CFrameWnd::Create(char const *lpszClassName, char const *lpszWindowName, unsigned long dwStyle, RECT const &rect,
                       CWnd *pParentWnd, char const *lpszMenuName, unsigned long dwExStyle)
{
    if (!lpszClassName)
        lpszClassName = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, LoadCursorA(nullptr, IDC_ARROW),
                                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    HMENU menu = nullptr;
    if (lpszMenuName) {
        menu = LoadMenuA(AfxGetResourceHandle(), lpszMenuName);
        if (!menu)
            return false;
    }
    int x = rect.left, y = rect.top, cx = rect.right - rect.left, cy = rect.bottom - rect.top;
    if (rect.left == CW_USEDEFAULT) {
        x = y = cx = cy = CW_USEDEFAULT;
    }
    bool ok = CWnd::CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy,
                             pParentWnd ? pParentWnd->m_hWnd : nullptr, menu);
    if (!ok && menu)
        DestroyMenu(menu);
    return ok;
}

void CFrameWnd::RecalcLayout(bool)
{
    if (!m_hWnd)
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (m_pDockingHost)
        m_pDockingHost->LayoutDockedPanes(client);
    if (HWND view = ::GetDlgItem(m_hWnd, 0xE900))
        ::SetWindowPos(view, nullptr, client.left, client.top, client.right - client.left, client.bottom - client.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CFrameWnd::EnableDocking(unsigned long dwDockStyle)
{
    return m_pDockingHost && m_pDockingHost->EnableFrameDocking(dwDockStyle);
}

void CFrameWnd::OnSize(unsigned int nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnDestroy()
{
    if (CFrameDockingHost *host = m_pDockingHost) {
        m_pDockingHost = nullptr;
        host->OnFrameDestroyed();
    }
    CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}
