#include "docking/ZnDockablePaneAdapter.h"

#include <windows.h>

#include "mfc/CSettingsStore.h"

IMPLEMENT_DYNCREATE(ZnDockablePaneAdapter, ZnDockablePane)

ZnDockablePaneAdapter::ZnDockablePaneAdapter(ZnDockParentWnd *pDockParentWnd) : ZnDockablePane(pDockParentWnd) {}

bool ZnDockablePaneAdapter::SetWrappedWnd(CWnd *pWnd)
{
    if (!GetSafeHwnd() || !pWnd || !pWnd->GetSafeHwnd() || pWnd == this)
        return false;
    if (m_pWnd && m_pWnd != pWnd && m_pWnd->GetSafeHwnd())
        ::SetParent(m_pWnd->GetSafeHwnd(), ::GetParent(GetSafeHwnd()));
    m_pWnd = pWnd;
    // A child, so that it moves, shows and hides with the pane.
    HWND const h = pWnd->GetSafeHwnd();
    LONG_PTR const style = ::GetWindowLongPtrA(h, GWL_STYLE);
    ::SetWindowLongPtrA(h, GWL_STYLE, (style & ~LONG_PTR(WS_POPUP | WS_CAPTION | WS_THICKFRAME)) | WS_CHILD);
    ::SetParent(h, GetSafeHwnd());
    ::ShowWindow(h, SW_SHOWNOACTIVATE);
    FitWrapped();
    return true;
}

void ZnDockablePaneAdapter::FitWrapped()
{
    if (!m_pWnd || !m_pWnd->GetSafeHwnd() || !GetSafeHwnd())
        return;
    RECT r{};
    ::GetClientRect(GetSafeHwnd(), &r);
    ::SetWindowPos(m_pWnd->GetSafeHwnd(), nullptr, 0, 0, r.right, r.bottom,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void ZnDockablePaneAdapter::OnSize(unsigned int nType, int cx, int cy)
{
    ZnDockablePane::OnSize(nType, cx, cy);
    FitWrapped();
}

void ZnDockablePaneAdapter::OnDestroy()
{
    // The wrapped window is the application's: it is not the pane's to destroy.
    if (m_pWnd && m_pWnd->GetSafeHwnd())
        ::SetParent(m_pWnd->GetSafeHwnd(), nullptr);
    m_pWnd = nullptr;
    ZnDockablePane::OnDestroy();
}

bool ZnDockablePaneAdapter::SaveState(char const *lpszProfileName, int nIndex, unsigned int uiID)
{
    if (!ZnDockablePane::SaveState(lpszProfileName, nIndex, uiID))
        return false;
    CString const key = StateKey("Panes", "DockablePaneAdapter", lpszProfileName, nIndex, uiID);
    CSettingsStore store(false, false);
    return !key.IsEmpty() && store.CreateKey(key) && store.Write("BarName", GetWindowText().GetStr());
}

bool ZnDockablePaneAdapter::LoadState(char const *lpszProfileName, int nIndex, unsigned int uiID)
{
    CString const key = StateKey("Panes", "DockablePaneAdapter", lpszProfileName, nIndex, uiID);
    CSettingsStore store(false, true);
    CStringA name;
    if (key.IsEmpty() || !store.Open(key) || !store.Read("BarName", name))
        return false;
    if (!ZnDockablePane::LoadState(lpszProfileName, nIndex, uiID))
        return false;
    SetWindowText(name.GetString());
    return true;
}
