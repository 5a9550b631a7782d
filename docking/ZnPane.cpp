#include "docking/ZnPane.h"

#include "docking/ZnDockingManager.h"

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
