#include "docking/ZnBasePane.h"

#include "docking/ZnDockingGesture.h"
#include "docking/ZnDockingManager.h"
#include "mfc/AfxWin.h"
#include "mfc/CSettingsStore.h"
#include "mfc/CWinApp.h"

#include <cstdio>

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

CString ZnBasePane::StateKey(char const *lpszSection, char const *lpszPrefix, char const *lpszProfileName, int nIndex,
                             unsigned int uiID) const
{
    CStringA const path = AFXGetRegPath(lpszSection, lpszProfileName);
    if (path.IsEmpty())
        return CString();
    if (nIndex == -1)
        nIndex = GetSafeHwnd() ? GetDlgCtrlID() : 0;
    char key[64];
    if (uiID == 0xFFFFFFFF)
        std::snprintf(key, sizeof key, "%s-%d", lpszPrefix, nIndex);
    else
        std::snprintf(key, sizeof key, "%s-%d%x", lpszPrefix, nIndex, uiID);
    return CString((std::string(path.GetString()) + key).c_str());
}

bool ZnBasePane::SaveState(char const *lpszProfileName, int nIndex, unsigned int uiID)
{
    CString const key = StateKey("BasePanes", "BasePane", lpszProfileName, nIndex, uiID);
    CSettingsStore store(false, false);
    return !key.IsEmpty() && store.CreateKey(key) && store.Write("IsVisible", IsPaneVisible() ? 1 : 0);
}

bool ZnBasePane::LoadState(char const *lpszProfileName, int nIndex, unsigned int uiID)
{
    CString const key = StateKey("BasePanes", "BasePane", lpszProfileName, nIndex, uiID);
    CSettingsStore store(false, true);
    int visible = 0;
    if (key.IsEmpty() || !store.Open(key) || !store.Read("IsVisible", visible))
        return false;
    m_bRecentVisibleState = visible != 0;
    return true;
}
