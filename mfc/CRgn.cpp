#include "mfc/CRgn.h"

#include <windows.h>

IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

BOOL CRgn::Attach(HRGN h) noexcept
{
    return CGdiObject::Attach(h) ? TRUE : FALSE;
}

HRGN CRgn::Detach() noexcept
{
    return static_cast<HRGN>(CGdiObject::Detach());
}

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) noexcept
{
    return !m_hObject && Attach(::CreateRectRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) noexcept
{
    return !m_hObject && lpRect && Attach(::CreateRectRgnIndirect(lpRect));
}

BOOL CRgn::CreatePolygonRgn(POINT const *lpPoints, int nCount, int nMode) noexcept
{
    return !m_hObject && lpPoints && nCount > 0 && Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
}

BOOL CRgn::CreatePolyPolygonRgn(POINT const *lpPoints, INT const *lpPolyCounts, int nCount,
                                int nPolyFillMode) noexcept
{
    return !m_hObject && lpPoints && lpPolyCounts && nCount > 0 &&
           Attach(::CreatePolyPolygonRgn(lpPoints, lpPolyCounts, nCount, nPolyFillMode));
}

int CRgn::CombineRgn(CRgn const *pRgn1, CRgn const *pRgn2, int nCombineMode) noexcept
{
    // RGN_COPY reads only the first source.
    if (!m_hObject || !pRgn1 || !pRgn1->m_hObject ||
        (nCombineMode != RGN_COPY && (!pRgn2 || !pRgn2->m_hObject)))
        return ERROR;
    return ::CombineRgn(*this, *pRgn1, pRgn2 ? static_cast<HRGN>(*pRgn2) : nullptr, nCombineMode);
}

int CRgn::OffsetRgn(int x, int y) noexcept
{
    return m_hObject ? ::OffsetRgn(*this, x, y) : ERROR;
}

int CRgn::GetRgnBox(LPRECT lpRect) const noexcept
{
    return m_hObject && lpRect ? ::GetRgnBox(*this, lpRect) : ERROR;
}

BOOL CRgn::EqualRgn(CRgn const *pRgn) const noexcept
{
    return m_hObject && pRgn && pRgn->m_hObject && ::EqualRgn(*this, *pRgn);
}

BOOL CRgn::PtInRegion(int x, int y) const noexcept
{
    return m_hObject && ::PtInRegion(*this, x, y);
}
