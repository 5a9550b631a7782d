#include "graphics/Brush.h"
#include "mfc/CBrush.h"

#include <cstring>
#include <windows.h>

struct BrushBody
{
    CBrush *pCBrush;
    Color aColor;
    BrushStyle eStyle;
    short nRefCount; // further holders: 0 means one
    bool bOwned;
    HGLOBAL hPatternDIB;
};

namespace {

BrushBody *NewBody(Color const &c, BrushStyle s)
{
    return new BrushBody{nullptr, c, s, 0, false, nullptr};
}

// A packed 8 x 8 one-bit device-independent bitmap of the pattern, whose
// clear bits show the brush colour (colour-table entry 0) and set bits white.
// Made from a real monochrome bitmap so that the platform decides the row
// layout, as for every bitmap the library converts.
HGLOBAL MakePatternDIB(unsigned char rowA, unsigned char rowB, COLORREF colour)
{
    WORD rows[8];
    for (int i = 0; i < 8; ++i)
        rows[i] = (i % 2) ? rowB : rowA; // one row per 16-bit word
    HBITMAP mono = CreateBitmap(8, 8, 1, 1, rows);
    if (!mono)
        return nullptr;
    struct
    {
        BITMAPINFOHEADER h;
        RGBQUAD colours[2];
    } info{};
    info.h.biSize = sizeof info.h;
    info.h.biWidth = 8;
    info.h.biHeight = 8;
    info.h.biPlanes = 1;
    info.h.biBitCount = 1;
    DWORD const stride = 4; // rows are padded to 32 bits
    DWORD const bytes = sizeof info + stride * 8;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto *p = mem ? static_cast<unsigned char *>(GlobalLock(mem)) : nullptr;
    bool ok = false;
    if (p) {
        HDC dc = CreateCompatibleDC(nullptr);
        ok = dc && GetDIBits(dc, mono, 0, 8, p + sizeof info, reinterpret_cast<BITMAPINFO *>(&info),
                             DIB_RGB_COLORS) == 8;
        if (dc)
            DeleteDC(dc);
        info.colours[0] = RGBQUAD{GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
        info.colours[1] = RGBQUAD{255, 255, 255, 0};
        std::memcpy(p, &info, sizeof info);
        GlobalUnlock(mem);
    }
    DeleteObject(mono);
    if (!ok && mem) {
        GlobalFree(mem);
        mem = nullptr;
    }
    return mem;
}

} // namespace

Brush::Brush(Color const &rColor, BrushStyle eStyle) : m_pBody(NewBody(rColor, eStyle))
{
}

Brush::Brush(CBrush *pBrush) : m_pBody(nullptr)
{
    LOGBRUSH lb{};
    if (!pBrush || pBrush->GetLogBrush(&lb) != int(sizeof lb))
        return;
    m_pBody = NewBody(Color(static_cast<unsigned long>(lb.lbColor)), BrushStyleSolid);
}

Brush::Brush(Brush const &rBrush) : m_pBody(rBrush.m_pBody)
{
    if (m_pBody)
        ++m_pBody->nRefCount;
}

Brush &Brush::operator=(Brush const &rBrush)
{
    // Held before the release: on self-assignment the release clears the
    // very pointer being copied.
    BrushBody *p = rBrush.m_pBody;
    if (p)
        ++p->nRefCount;
    Release();
    m_pBody = p;
    return *this;
}

Brush::~Brush()
{
    Release();
}

void Brush::Release()
{
    if (!m_pBody)
        return;
    if (m_pBody->nRefCount < 1) {
        if (m_pBody->bOwned)
            delete m_pBody->pCBrush;
        if (m_pBody->hPatternDIB)
            GlobalFree(m_pBody->hPatternDIB);
        delete m_pBody;
    } else {
        --m_pBody->nRefCount;
    }
    m_pBody = nullptr;
}

Color Brush::GetColor() const
{
    return m_pBody ? m_pBody->aColor : Color(ColorNameWhite);
}

BrushStyle Brush::GetStyle() const
{
    return m_pBody ? m_pBody->eStyle : BrushStyleSolid;
}

CBrush *Brush::GetOrCreatePCBrush()
{
    if (!m_pBody)
        m_pBody = NewBody(Color(ColorNameWhite), BrushStyleSolid);
    BrushBody &b = *m_pBody;
    if (b.pCBrush)
        return b.pCBrush;
    COLORREF const colour = static_cast<COLORREF>(b.aColor.GetLong());
    LOGBRUSH lb{};
    switch (b.eStyle) {
    case BrushStyleNull:
        GetObjectA(GetStockObject(NULL_BRUSH), sizeof lb, &lb);
        break;
    case BrushStyleDots:
    case BrushStyleChecker:
        b.hPatternDIB = b.eStyle == BrushStyleDots ? MakePatternDIB(0x88, 0x22, colour)
                                                   : MakePatternDIB(0x55, 0xAA, colour);
        if (b.hPatternDIB) {
            lb.lbStyle = BS_DIBPATTERN;
            lb.lbColor = DIB_RGB_COLORS;
            lb.lbHatch = reinterpret_cast<ULONG_PTR>(b.hPatternDIB);
            break;
        }
        [[fallthrough]]; // no memory for the pattern: fill solid
    default:
        lb.lbStyle = BS_SOLID;
        lb.lbColor = colour;
        break;
    }
    auto *brush = new CBrush;
    brush->CreateBrushIndirect(&lb);
    b.pCBrush = brush;
    b.bOwned = true;
    return brush;
}
