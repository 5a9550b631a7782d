#include "controls/StretchedBitmap.h"


StretchedBitmap::StretchedBitmap(Window *pParent, int nStyle) : FixedBitmap(pParent, nStyle)
{
}

void StretchedBitmap::Paint(CRectangle const &)
{
    Size const out = GetOutputSizePixel();
    if (!GethDC() || m_aBitmap.Empty() || out.IsEmpty())
        return;
    // A GDI+ image shows as its GDI handle does: flattened onto magenta.
    if (m_aBitmap.IsGdiplusBitmap())
        Erase(Color(ColorNameLightMagenta), CRectangle(Point(0, 0), out));
    DrawBitmap(Point(0, 0), out, m_aBitmap);
}
