#include "mfc/CBrush.h"
#include "mfc/CBitmap.h"

IMPLEMENT_DYNAMIC(CBrush, CGdiObject)

CBrush::CBrush(COLORREF crColor)
{
    CreateSolidBrush(crColor);
}

bool CBrush::CreateSolidBrush(COLORREF crColor)
{
    return !m_hObject && Attach(::CreateSolidBrush(crColor));
}

bool CBrush::CreateBrushIndirect(LOGBRUSH const *lpLogBrush)
{
    return lpLogBrush && !m_hObject && Attach(::CreateBrushIndirect(lpLogBrush));
}

bool CBrush::CreateHatchBrush(int nIndex, COLORREF crColor)
{
    return !m_hObject && Attach(::CreateHatchBrush(nIndex, crColor));
}

bool CBrush::CreatePatternBrush(CBitmap const *pBitmap)
{
    return pBitmap && !m_hObject && Attach(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->m_hObject)));
}

bool CBrush::CreateDIBPatternBrush(HGLOBAL hPackedDIB, unsigned int nUsage)
{
    if (!hPackedDIB || m_hObject)
        return false;
    void *dib = GlobalLock(hPackedDIB);
    if (!dib)
        return false;
    bool ok = Attach(::CreateDIBPatternBrushPt(dib, nUsage));
    GlobalUnlock(hPackedDIB);
    return ok;
}

bool CBrush::CreateSysColorBrush(int nIndex)
{
    // A system colour brush is owned by the system: keep a brush of our own
    // of the same colour, so that deleting it is always right.
    return CreateSolidBrush(GetSysColor(nIndex));
}

int CBrush::GetLogBrush(LOGBRUSH *pLogBrush) const
{
    return GetObject(sizeof(LOGBRUSH), pLogBrush);
}
