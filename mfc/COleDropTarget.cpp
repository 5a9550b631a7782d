#include "mfc/COleDropTarget.h"

#include "mfc/COleDataObject.h"
#include "mfc/CWnd.h"

COleDropTarget::COleDropTarget() : m_pWnd(nullptr), m_pDataObject(nullptr), m_nRefs(0) {}

COleDropTarget::~COleDropTarget()
{
    Revoke();
    delete m_pDataObject;
}

bool COleDropTarget::Register(CWnd *pWnd)
{
    if (m_pWnd || !pWnd || !pWnd->m_hWnd)
        return false;
    if (FAILED(RegisterDragDrop(pWnd->m_hWnd, this)))
        return false;
    m_pWnd = pWnd;
    return true;
}

void COleDropTarget::Revoke()
{
    if (!m_pWnd)
        return;
    // A window already gone took its registration along.
    if (m_pWnd->m_hWnd && IsWindow(m_pWnd->m_hWnd))
        RevokeDragDrop(m_pWnd->m_hWnd);
    m_pWnd = nullptr;
}

DWORD COleDropTarget::OnDragEnter(CWnd *, COleDataObject *, DWORD, CPoint) { return DROPEFFECT_NONE; }
DWORD COleDropTarget::OnDragOver(CWnd *, COleDataObject *, DWORD, CPoint) { return DROPEFFECT_NONE; }
void COleDropTarget::OnDragLeave(CWnd *) {}
BOOL COleDropTarget::OnDrop(CWnd *, COleDataObject *, DWORD, CPoint) { return FALSE; }
DWORD COleDropTarget::OnDragScroll(CWnd *, DWORD, CPoint) { return DROPEFFECT_NONE; }

// The owner deletes the target: the count only answers the platform.
HRESULT COleDropTarget::QueryInterface(REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *ppv = static_cast<IDropTarget *>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG COleDropTarget::AddRef() { return ULONG(InterlockedIncrement(&m_nRefs)); }
ULONG COleDropTarget::Release() { return ULONG(InterlockedDecrement(&m_nRefs)); }

CPoint COleDropTarget::ClientPoint(POINTL pt) const
{
    POINT p{pt.x, pt.y};
    if (m_pWnd && m_pWnd->m_hWnd)
        ScreenToClient(m_pWnd->m_hWnd, &p);
    return CPoint(p);
}

DWORD COleDropTarget::Answer(DWORD dwKeyState, POINTL pt, DWORD dwAllowed, bool bEnter)
{
    if (!m_pWnd || !m_pDataObject)
        return DROPEFFECT_NONE;
    CPoint const at = ClientPoint(pt);
    DWORD effect = bEnter ? DROPEFFECT_NONE : OnDragScroll(m_pWnd, dwKeyState, at);
    if (!(effect & DROPEFFECT_SCROLL))
        effect = bEnter ? OnDragEnter(m_pWnd, m_pDataObject, dwKeyState, at)
                        : OnDragOver(m_pWnd, m_pDataObject, dwKeyState, at);
    // Never more than the source allows (scrolling is always allowed).
    return effect & (dwAllowed | DROPEFFECT_SCROLL);
}

HRESULT COleDropTarget::DragEnter(IDataObject *pData, DWORD grfKeyState, POINTL pt, DWORD *pdwEffect)
{
    if (!pdwEffect)
        return E_INVALIDARG;
    delete m_pDataObject;
    m_pDataObject = new COleDataObject;
    if (pData) {
        pData->AddRef();
        m_pDataObject->Attach(pData, true);
    }
    *pdwEffect = Answer(grfKeyState, pt, *pdwEffect, true);
    return S_OK;
}

HRESULT COleDropTarget::DragOver(DWORD grfKeyState, POINTL pt, DWORD *pdwEffect)
{
    if (!pdwEffect)
        return E_INVALIDARG;
    *pdwEffect = Answer(grfKeyState, pt, *pdwEffect, false);
    return S_OK;
}

HRESULT COleDropTarget::DragLeave()
{
    if (m_pWnd)
        OnDragLeave(m_pWnd);
    delete m_pDataObject;
    m_pDataObject = nullptr;
    return S_OK;
}

HRESULT COleDropTarget::Drop(IDataObject *pData, DWORD, POINTL pt, DWORD *pdwEffect)
{
    if (!pdwEffect)
        return E_INVALIDARG;
    COleDataObject data;
    if (pData) {
        pData->AddRef();
        data.Attach(pData, true);
    }
    delete m_pDataObject;
    m_pDataObject = nullptr;
    DWORD const allowed = *pdwEffect;
    BOOL const done = m_pWnd ? OnDrop(m_pWnd, &data, allowed, ClientPoint(pt)) : FALSE;
    *pdwEffect = done ? allowed : DROPEFFECT_NONE;
    return S_OK;
}
