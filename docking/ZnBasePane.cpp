#include "docking/ZnBasePane.h"

#include "docking/ZnDockingGesture.h"
#include "docking/ZnDockingManager.h"
#include "mfc/AfxWin.h"

IMPLEMENT_DYNAMIC(ZnBasePane, CWnd)

ZnBasePane::ZnBasePane()
    : m_dwStyle(0), m_dwControlBarStyle(0), m_pDockManager(nullptr), m_bPaneVisible(true)
{
}

ZnBasePane::~ZnBasePane()
{
}

void ZnBasePane::ShowPane(bool bShow, bool bDelay, bool)
{
    ZnDockingGesture gesture(m_pDockManager);
    m_bPaneVisible = bShow;
    if (m_hWnd)
        ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (!bDelay && m_pDockManager)
        m_pDockManager->RecalcLayout(true);
}

void ZnBasePane::GetMinSize(CSize &size) const
{
    size = CSize(0, 0);
}

char const *ZnBasePane::RegisterDockingClass(char const *lpszName, char const *lpszCursor)
{
    WNDCLASSA wc{};
    HINSTANCE inst = AfxGetInstanceHandle();
    if (!::GetClassInfoA(inst, lpszName, &wc)) {
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &CWnd::StdWndProc;
        wc.hInstance = inst;
        wc.hCursor = ::LoadCursorA(nullptr, lpszCursor ? lpszCursor : IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = lpszName;
        ::RegisterClassA(&wc);
    }
    return lpszName;
}
