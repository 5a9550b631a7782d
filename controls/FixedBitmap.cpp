#include "controls/FixedBitmap.h"

#include <windows.h>

FixedBitmap::FixedBitmap(Window *pParent, int nStyle) : m_aBack(ColorNameButtonFace), m_nX(0), m_nY(0)
{
    InitStatic(pParent, pParent ? pParent->GetPCWnd() : nullptr, nStyle, pParent ? GetControlIdCnt() : 0);
}

void FixedBitmap::SetBitmap(Bitmap const &rBitmap)
{
    SetBitmap(rBitmap, m_aBack, m_nX, m_nY);
}

void FixedBitmap::SetBitmap(Bitmap const &rBitmap, Color const &rBack, int nX, int nY)
{
    if (rBitmap == m_aBitmap && rBack.GetLong() == m_aBack.GetLong() && nX == m_nX && nY == m_nY)
        return;
    m_aBitmap = rBitmap;
    m_aBack = rBack;
    m_nX = nX;
    m_nY = nY;
    Invalidate();
}

void FixedBitmap::Paint(CRectangle const &)
{
    HDC dc = GethDC();
    Size const out = GetOutputSizePixel();
    if (!dc || out.IsEmpty())
        return;
    Erase(m_aBack, CRectangle(Point(0, 0), out));
    HBITMAP h = m_aBitmap;
    if (!h)
        return;
    Size const size = m_aBitmap.GetSize();
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, h);
    BitBlt(dc, m_nX, m_nY, size.Width(), size.Height(), source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}
