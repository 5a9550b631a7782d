#include "controls/FixedBitmap.h"


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
    Size const out = GetOutputSizePixel();
    if (!GethDC() || out.IsEmpty())
        return;
    Erase(m_aBack, CRectangle(Point(0, 0), out));
    if (m_aBitmap.Empty())
        return;
    Point const at(m_nX, m_nY);
    // A GDI+ image shows as its GDI handle does: on magenta.
    if (m_aBitmap.IsGdiplusBitmap())
        Erase(Color(ColorNameLightMagenta), CRectangle(at, m_aBitmap.GetSize()));
    DrawBitmap(at, m_aBitmap);
}
