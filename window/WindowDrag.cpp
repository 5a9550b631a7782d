// Window: drag and drop (the source's drag loop and the drop target).
#include "window/Window.h"

#include "frame/Link.h"
#include "mfc/CImageList.h"
#include "mfc/CWnd.h"
#include "window/DragDataSource.h"
#include "window/DropData.h"
#include "window/DropEvent.h"
#include "window/ZnOleDataSource.h"
#include "window/ZnOleDropTarget.h"

#include <commctrl.h>
#include <ole2.h>

CImageList *Window::pDragImageList = nullptr;
CWnd *Window::pCWndBeginDrag = nullptr;
CWnd *Window::pCWndFocusAfterDrag = nullptr;

namespace {

// The source's side of the drag loop: the drag ends at the release of the
// button that started it, and Escape cancels it.
class DropSource : public IDropSource
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
            *ppv = static_cast<IDropSource *>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the stack of ExecuteDrag, which outlasts the loop.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override
    {
        if (fEscapePressed)
            return DRAGDROP_S_CANCEL;
        if (!(grfKeyState & (MK_LBUTTON | MK_RBUTTON)))
            return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

} // namespace

unsigned long Window::QueryDrop(DropEvent const &) { return 0; }

bool Window::Drop(DropEvent const &) { return false; }

unsigned long Window::ExecuteDrag(DropData const &rData)
{
    DragDataSource aSource;
    rData.CopyToDataSource(aSource);
    return ImpRunDrag(aSource, rData.GetDropEffect());
}

unsigned long Window::ExecuteDrag(unsigned short nFormat, Link const &rLink)
{
    DragDataSource aSource;
    DropData(nFormat, nullptr, 0, DROPEFFECT_COPY).CopyDelayedToDataSource(aSource, rLink);
    return ImpRunDrag(aSource, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
}

unsigned long Window::ImpRunDrag(DragDataSource &rSource, unsigned long nEffects)
{
    pCWndFocusAfterDrag = nullptr;
    pCWndBeginDrag = m_pCWnd;
    DropSource aDropSource;
    DWORD nEffect = DROPEFFECT_NONE;
    if (FAILED(DoDragDrop(rSource.GetPDataSource(), &aDropSource, nEffects, &nEffect)))
        nEffect = DROPEFFECT_NONE;
    if (pDragImageList) {
        ImageList_DragLeave(GetDesktopWindow());
        ImageList_EndDrag();
    }
    if (pCWndFocusAfterDrag && pCWndFocusAfterDrag->m_hWnd)
        pCWndFocusAfterDrag->SetFocus();
    return nEffect;
}

void Window::EnableDrop(bool bEnable)
{
    if (!m_pDropTarget)
        m_pDropTarget = new ZnOleDropTarget(this);
    if (bEnable && !m_bDropEnabled) {
        // Without a platform window (or without OLE on this thread) there
        // is nothing to register: the window stays a non-target.
        if (!m_pCWnd || !m_pDropTarget->Register(m_pCWnd))
            return;
    } else if (!bEnable && m_bDropEnabled) {
        m_pDropTarget->Revoke();
    }
    m_bDropEnabled = bEnable;
}

void Window::ImpEndDrop()
{
    delete m_pDropTarget; // revokes first
    m_pDropTarget = nullptr;
    m_bDropEnabled = false;
    if (m_pCWnd && pCWndBeginDrag == m_pCWnd)
        pCWndBeginDrag = nullptr;
    if (m_pCWnd && pCWndFocusAfterDrag == m_pCWnd)
        pCWndFocusAfterDrag = nullptr;
}
