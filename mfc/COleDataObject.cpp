#include "mfc/COleDataObject.h"

#include <cstring>

void COleDataObject::Attach(IDataObject *lpDataObject, bool bAutoRelease)
{
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
}

IDataObject *COleDataObject::Detach()
{
    IDataObject *p = m_lpDataObject;
    m_lpDataObject = nullptr;
    return p;
}

void COleDataObject::Release()
{
    if (m_lpDataObject && m_bAutoRelease)
        m_lpDataObject->Release();
    m_lpDataObject = nullptr;
}

bool COleDataObject::AttachClipboard()
{
    IDataObject *p = nullptr;
    if (FAILED(OleGetClipboard(&p)) || !p)
        return false;
    Attach(p, true);
    return true;
}

namespace {

FORMATETC FormatOf(CLIPFORMAT cf, FORMATETC const *p)
{
    if (p)
        return *p;
    return FORMATETC{cf, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

} // namespace

bool COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, FORMATETC const *pFormatEtc) const
{
    if (!m_lpDataObject)
        return false;
    FORMATETC f = FormatOf(cfFormat, pFormatEtc);
    return m_lpDataObject->QueryGetData(&f) == S_OK;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, FORMATETC const *pFormatEtc) const
{
    if (!m_lpDataObject)
        return nullptr;
    FORMATETC f = FormatOf(cfFormat, pFormatEtc);
    STGMEDIUM m{};
    if (FAILED(m_lpDataObject->GetData(&f, &m)))
        return nullptr;
    if (m.tymed != TYMED_HGLOBAL) {
        ReleaseStgMedium(&m);
        return nullptr;
    }
    if (!m.pUnkForRelease)
        return m.hGlobal; // ours now
    // The block stays the source's: hand out a copy.
    HGLOBAL copy = nullptr;
    SIZE_T const n = GlobalSize(m.hGlobal);
    if (void const *src = GlobalLock(m.hGlobal)) {
        copy = GlobalAlloc(GMEM_MOVEABLE, n ? n : 1);
        if (void *dst = copy ? GlobalLock(copy) : nullptr) {
            std::memcpy(dst, src, n);
            GlobalUnlock(copy);
        } else if (copy) {
            GlobalFree(copy);
            copy = nullptr;
        }
        GlobalUnlock(m.hGlobal);
    }
    ReleaseStgMedium(&m);
    return copy;
}
