#include "window/ZnOleDataSource.h"

#include <cstring>

Link ZnOleDataSource::ChangeRenderHdl(Link const &rLink)
{
    Link old = m_aRenderLink;
    m_aRenderLink = rLink;
    return old;
}

void ZnOleDataSource::OfferDelayed(unsigned short nFormat, Link const &rLink)
{
    m_aRenderLink = rLink;
    FORMATETC f{static_cast<CLIPFORMAT>(nFormat), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    DelayRenderData(f.cfFormat, &f);
}

bool ZnOleDataSource::CacheCopy(unsigned short nFormat, void const *p, unsigned __int64 nSize, bool bMovable)
{
    if (nSize > SIZE_T(-1) || (!p && nSize))
        return false;
    HGLOBAL h = GlobalAlloc(bMovable ? GMEM_MOVEABLE : GMEM_FIXED, nSize ? SIZE_T(nSize) : 1);
    if (!h)
        return false;
    void *dst = GlobalLock(h);
    if (!dst) {
        GlobalFree(h);
        return false;
    }
    if (nSize)
        std::memcpy(dst, p, SIZE_T(nSize));
    GlobalUnlock(h);
    CacheGlobalData(static_cast<CLIPFORMAT>(nFormat), h);
    return true;
}

bool ZnOleDataSource::OnRenderGlobalData(FORMATETC const *pFormatEtc, HGLOBAL *phGlobal)
{
    if (COleDataSource::OnRenderGlobalData(pFormatEtc, phGlobal))
        return true;
    if (!m_aRenderLink.IsSet() || !pFormatEtc || !phGlobal)
        return false;
    OleRenderData aData{static_cast<unsigned short>(pFormatEtc->cfFormat), phGlobal};
    return m_aRenderLink.Call(&aData) != 0 && *phGlobal;
}
