#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"
#include "mfc/CPoint.h"

#include <windows.h>
#include <ole2.h>

class CWnd;
class COleDataObject;

// The platform's drop target for one window: the handlers get the data of
// the drag and the cursor in the window's client coordinates. The owner
// deletes it; the destructor revokes a registration still standing.
class KSAPI COleDropTarget : public CObject, public IDropTarget
{
public:
    COleDropTarget();
    ~COleDropTarget() override;
    COleDropTarget(COleDropTarget const &) = delete;
    COleDropTarget &operator=(COleDropTarget const &) = delete;

    bool Register(CWnd *pWnd);
    void Revoke();
    CWnd *GetPWnd() const { return m_pWnd; }

    virtual DWORD OnDragEnter(CWnd *pWnd, COleDataObject *pDataObject, DWORD dwKeyState, CPoint point);
    virtual DWORD OnDragOver(CWnd *pWnd, COleDataObject *pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave(CWnd *pWnd);
    virtual BOOL OnDrop(CWnd *pWnd, COleDataObject *pDataObject, DWORD dropEffect, CPoint point);
    // Non-zero (with DROPEFFECT_SCROLL) when the window scrolled instead.
    virtual DWORD OnDragScroll(CWnd *pWnd, DWORD dwKeyState, CPoint point);

    // IDropTarget
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject *pData, DWORD grfKeyState, POINTL pt, DWORD *pdwEffect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD grfKeyState, POINTL pt, DWORD *pdwEffect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject *pData, DWORD grfKeyState, POINTL pt, DWORD *pdwEffect) override;

private:
    CPoint ClientPoint(POINTL pt) const;
    DWORD Answer(DWORD dwKeyState, POINTL pt, DWORD dwAllowed, bool bEnter);

    CWnd *m_pWnd;
    COleDataObject *m_pDataObject; // the current drag's data, between enter and leave or drop
    LONG m_nRefs;
};
