#include "graphics/Pen.h"
#include "mfc/CPen.h"

#include <windows.h>

struct PenBody
{
    unsigned int nStyle;
    Color aColor;
    short nWidth;
    HPEN hPen;
    bool bOwned;
    short nRefCount; // further holders: 0 means one
};

namespace {
PenBody *NewBody(unsigned int style, Color const &c, short width, HPEN h = nullptr, bool owned = false)
{
    return new PenBody{style, c, width, h, owned, 0};
}
} // namespace

Pen::Pen(Color const &rColor, short nWidth, unsigned int nStyle) : m_pBody(NewBody(nStyle, rColor, nWidth))
{
}

Pen::Pen(unsigned int nStyle) : m_pBody(NewBody(nStyle, Color(ColorNameBlack), 1))
{
}

Pen::Pen(CPen *pPen) : m_pBody(nullptr)
{
    LOGPEN lp{};
    if (!pPen || pPen->GetLogPen(&lp) != int(sizeof lp))
        return;
    m_pBody = NewBody(lp.lopnStyle, Color(static_cast<unsigned long>(lp.lopnColor)),
                      static_cast<short>(lp.lopnWidth.x), static_cast<HPEN>(pPen->m_hObject), false);
}

Pen::Pen(Pen const &rPen) : m_pBody(rPen.m_pBody)
{
    if (m_pBody)
        ++m_pBody->nRefCount;
}

Pen &Pen::operator=(Pen const &rPen)
{
    // Held before the release: on self-assignment the release clears the
    // very pointer being copied.
    PenBody *p = rPen.m_pBody;
    if (p)
        ++p->nRefCount;
    Release();
    m_pBody = p;
    return *this;
}

Pen::~Pen()
{
    Release();
}

void Pen::Release()
{
    if (!m_pBody)
        return;
    if (m_pBody->nRefCount < 1) {
        if (m_pBody->bOwned && m_pBody->hPen)
            DeleteObject(m_pBody->hPen);
        delete m_pBody;
    } else {
        --m_pBody->nRefCount;
    }
    m_pBody = nullptr;
}

unsigned int Pen::GetStyle() const
{
    return m_pBody ? m_pBody->nStyle : 0;
}

short Pen::GetWidth() const
{
    return m_pBody ? m_pBody->nWidth : 0;
}

Color Pen::GetColor() const
{
    return m_pBody ? m_pBody->aColor : Color(ColorNameWhite);
}

bool Pen::operator==(Pen const &rPen) const
{
    if (!m_pBody || !rPen.m_pBody)
        return !m_pBody && !rPen.m_pBody;
    return m_pBody->nStyle == rPen.m_pBody->nStyle && m_pBody->aColor.GetLong() == rPen.m_pBody->aColor.GetLong() &&
           m_pBody->nWidth == rPen.m_pBody->nWidth;
}

HPEN Pen::GethPen()
{
    if (!m_pBody)
        m_pBody = NewBody(PS_SOLID, Color(ColorNameBlack), 1);
    PenBody &b = *m_pBody;
    if (b.hPen)
        return b.hPen;
    if (b.nStyle == PS_NULL) {
        b.hPen = static_cast<HPEN>(GetStockObject(NULL_PEN));
        b.bOwned = false;
    } else if (b.nStyle == PS_SOLID && b.nWidth < 2 && b.aColor.GetLong() == 0) {
        // The stock black pen serves the commonest outline without a handle
        // of its own.
        b.hPen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
        b.bOwned = false;
    } else {
        LOGPEN lp{};
        lp.lopnStyle = b.nStyle;
        lp.lopnWidth.x = b.nWidth;
        lp.lopnColor = static_cast<COLORREF>(b.aColor.GetLong());
        b.hPen = CreatePenIndirect(&lp);
        b.bOwned = b.hPen != nullptr;
    }
    return b.hPen;
}
