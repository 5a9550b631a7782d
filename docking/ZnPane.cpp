#include "docking/ZnPane.h"

#include "docking/ZnDockingManager.h"
#include "mfc/CSettingsStore.h"

IMPLEMENT_DYNAMIC(ZnPane, ZnBasePane)

int ZnPane::m_bHandleMinSize = 0;

void ZnPane::RemoveFromMiniframe(CWnd *pNewParent, AFX_DOCK_METHOD)
{
    if (!m_hWnd || !pNewParent || !pNewParent->GetSafeHwnd())
        return;
    if (::GetParent(m_hWnd) != pNewParent->GetSafeHwnd())
        ::SetParent(m_hWnd, pNewParent->GetSafeHwnd());
}

CWnd *ZnPane::GetDockSiteFrameWnd() const
{
    return m_pDockManager ? m_pDockManager->GetDockSiteWnd() : nullptr;
}

void ZnPane::CalcRecentDockedRect()
{
    m_rectRecentDocked = m_rectLayout;
}

bool ZnPane::SaveState(char const *lpszProfileName, int nIndex, unsigned int uiID)
{
    if (!ZnBasePane::SaveState(lpszProfileName, nIndex, uiID))
        return false;
    CalcRecentDockedRect();
    CString const key = StateKey("Panes", "Pane", lpszProfileName, nIndex, uiID);
    CSettingsStore store(false, false);
    return !key.IsEmpty() && store.CreateKey(key) && store.Write("ID", GetSafeHwnd() ? GetDlgCtrlID() : 0) &&
           store.Write("RectRecentFloat", GetRecentFloatingRect()) &&
           store.Write("RectRecentDocked", m_rectRecentDocked) &&
           store.Write("RecentFrameAlignment", m_dwRecentFrameAlignment) &&
           store.Write("RecentRowIndex", m_nRecentRowIndex) && store.Write("IsFloating", IsFloating() ? 1 : 0) &&
           store.Write("MRUWidth", m_nMRUWidth) && store.Write("PinState", GetPinState());
}

bool ZnPane::LoadState(char const *lpszProfileName, int nIndex, unsigned int uiID)
{
    CString const key = StateKey("Panes", "Pane", lpszProfileName, nIndex, uiID);
    CSettingsStore store(false, true);
    if (key.IsEmpty() || !store.Open(key))
        return false;
    // Everything is read before anything is taken: a record with a value
    // missing or of the wrong type changes nothing.
    int id = 0, row = 0, floating = 0, width = 0, pin = 0;
    unsigned long align = 0;
    RECT rectFloat{}, rectDocked{};
    if (!store.Read("ID", id) || !store.Read("RectRecentFloat", rectFloat) ||
        !store.Read("RectRecentDocked", rectDocked) || !store.Read("RecentFrameAlignment", align) ||
        !store.Read("RecentRowIndex", row) || !store.Read("IsFloating", floating) || !store.Read("MRUWidth", width) ||
        !store.Read("PinState", pin))
        return false;
    // Another pane's record (the key named by an index of the caller's).
    if (GetSafeHwnd() && id != GetDlgCtrlID())
        return false;
    if (!ZnBasePane::LoadState(lpszProfileName, nIndex, uiID))
        return false;
    SetRecentFloatingRect(rectFloat);
    m_rectRecentDocked = rectDocked;
    m_dwRecentFrameAlignment = align & CBRS_ALIGN_ANY;
    m_nRecentRowIndex = row;
    m_bRecentFloatingState = floating != 0;
    m_nMRUWidth = width;
    m_nRecentPinState = pin;
    return true;
}
