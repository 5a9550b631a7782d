#include "window/ZnOleDropTarget.h"

#include "mfc/CImageList.h"
#include "mfc/CWnd.h"
#include "window/DropEvent.h"
#include "window/Window.h"

DWORD ZnOleDropTarget::ImpQuery(CWnd *pWnd, COleDataObject *pDataObject, CPoint point, bool bEnter)
{
    if (Window::GetDragImageList()) {
        POINT screen = point;
        if (pWnd && pWnd->m_hWnd)
            ClientToScreen(pWnd->m_hWnd, &screen);
        if (bEnter)
            ImageList_DragEnter(nullptr, screen.x, screen.y);
        else
            ImageList_DragMove(screen.x, screen.y);
    }
    if (!m_pWindow || !m_pWindow->IsDropEnabled())
        return DROPEFFECT_NONE;
    return m_pWindow->QueryDrop(DropEvent(0, Point(point.x, point.y), false, pDataObject));
}

DWORD ZnOleDropTarget::OnDragEnter(CWnd *pWnd, COleDataObject *pDataObject, DWORD, CPoint point)
{
    return ImpQuery(pWnd, pDataObject, point, true);
}

DWORD ZnOleDropTarget::OnDragOver(CWnd *pWnd, COleDataObject *pDataObject, DWORD, CPoint point)
{
    return ImpQuery(pWnd, pDataObject, point, false);
}

void ZnOleDropTarget::OnDragLeave(CWnd *)
{
    if (Window::GetDragImageList())
        ImageList_DragLeave(nullptr);
    if (m_pWindow)
        m_pWindow->OnDragLeavesWindow();
}

BOOL ZnOleDropTarget::OnDrop(CWnd *, COleDataObject *pDataObject, DWORD dropEffect, CPoint point)
{
    if (m_pWindow && m_pWindow->Drop(DropEvent(dropEffect, Point(point.x, point.y), false, pDataObject)))
        Window::ImpSetFocusAfterDrag(m_pWindow->GetPCWnd());
    // The data was taken by reading it: the source must never delete
    // anything as for a move.
    return FALSE;
}

DWORD ZnOleDropTarget::OnDragScroll(CWnd *, DWORD dwKeyState, CPoint point)
{
    return m_pWindow ? m_pWindow->OnDragScroll(dwKeyState, point) : DROPEFFECT_NONE;
}
