#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/COleDropTarget.h"

class Window;

// The drop target of one drop-enabled Window: the platform's drag events go
// to the window's QueryDrop, Drop and private drag handlers.
class KSAPI ZnOleDropTarget : public COleDropTarget
{
public:
    explicit ZnOleDropTarget(Window *pWindow) : m_pWindow(pWindow) {}

    DWORD OnDragEnter(CWnd *pWnd, COleDataObject *pDataObject, DWORD dwKeyState, CPoint point) override;
    DWORD OnDragOver(CWnd *pWnd, COleDataObject *pDataObject, DWORD dwKeyState, CPoint point) override;
    void OnDragLeave(CWnd *pWnd) override;
    BOOL OnDrop(CWnd *pWnd, COleDataObject *pDataObject, DWORD dropEffect, CPoint point) override;
    DWORD OnDragScroll(CWnd *pWnd, DWORD dwKeyState, CPoint point) override;

private:
    DWORD ImpQuery(CWnd *pWnd, COleDataObject *pDataObject, CPoint point, bool bEnter);

    Window *m_pWindow;
};
