#include "graphics/Brush.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "graphics/Bitmap.h"
#include "graphics/Texture.h"
#include "mfc/CBrush.h"

#include <windows.h>

struct BrushBody
{
    CBrush *pCBrush;
    Color aColor;
    BrushStyle eStyle;
    short nRefCount; // further holders: 0 means one
    bool bOwned;
    HGLOBAL hPatternDIB;
    bool bTexture; // hPatternDIB is a texture's bitmap, not a pattern
};

namespace {

BrushBody *NewBody(Color const &c, BrushStyle s)
{
    return new BrushBody{nullptr, c, s, 0, false, nullptr, false};
}

// A packed copy of the pattern bitmap whose clear bits show the brush
// colour (colour-table entry 0); null without the bitmap, before the main
// frame made the pattern bitmaps.
HGLOBAL MakePatternDIB(Bitmap const *pPattern, COLORREF colour)
{
    HBITMAP h = pPattern ? static_cast<HBITMAP>(*pPattern) : nullptr;
    HGLOBAL dib = h ? DIBFromBitmap(h, nullptr) : nullptr;
    if (!dib)
        return nullptr;
    auto *info = static_cast<BITMAPINFO *>(GlobalLock(dib));
    if (!info || info->bmiHeader.biBitCount != 1) {
        if (info)
            GlobalUnlock(dib);
        GlobalFree(dib);
        return nullptr;
    }
    info->bmiColors[0] = RGBQUAD{GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
    GlobalUnlock(dib);
    return dib;
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

Brush::Brush(Texture const &rTexture) : m_pBody(nullptr)
{
    if (rTexture.IsBMP()) {
        // A packed copy, made now: the brush must not depend on the bitmap
        // staying unchanged until a device asks for the platform brush.
        if (HGLOBAL dib = rTexture.GetBitmap().CreateDIB()) {
            m_pBody = NewBody(rTexture.GetColor(nullptr), BrushStyleSolid);
            m_pBody->hPatternDIB = dib;
            m_pBody->bTexture = true;
            return;
        }
    }
    m_pBody = NewBody(rTexture.GetColor(), BrushStyleSolid);
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
    if (b.bTexture) {
        auto *brush = new CBrush;
        if (brush->CreateDIBPatternBrush(b.hPatternDIB, DIB_RGB_COLORS)) {
            b.pCBrush = brush;
            b.bOwned = true;
            return brush;
        }
        delete brush; // the platform refused the pattern: fill solid
    }
    LOGBRUSH lb{};
    switch (b.eStyle) {
    case BrushStyleNull:
        GetObjectA(GetStockObject(NULL_BRUSH), sizeof lb, &lb);
        break;
    case BrushStyleDots:
    case BrushStyleChecker:
        if (KSData const *data = GetPKSData())
            b.hPatternDIB = MakePatternDIB(b.eStyle == BrushStyleDots ? data->m_pBrushBitmap25 : data->m_pBrushBitmap50,
                                           colour);
        if (b.hPatternDIB) {
            lb.lbStyle = BS_DIBPATTERN;
            lb.lbColor = DIB_RGB_COLORS;
            lb.lbHatch = reinterpret_cast<ULONG_PTR>(b.hPatternDIB);
            break;
        }
        [[fallthrough]]; // no pattern bitmap, or no memory for its copy: fill solid
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
