#include "controls/StretchedBitmap.h"

#include <windows.h>

StretchedBitmap::StretchedBitmap(Window *pParent, int nStyle) : FixedBitmap(pParent, nStyle)
{
}

void StretchedBitmap::Paint(CRectangle const &)
{
    HDC dc = GethDC();
    HBITMAP h = m_aBitmap;
    Size const out = GetOutputSizePixel();
    if (!dc || !h || out.IsEmpty())
        return;
    Size const size = m_aBitmap.GetSize();
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, h);
    // Whole pixels repeated or dropped: a picture keeps its hard edges.
    int const mode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, out.Width(), out.Height(), source, 0, 0, size.Width(), size.Height(), SRCCOPY);
    SetStretchBltMode(dc, mode);
    SelectObject(source, old);
    DeleteDC(source);
}
