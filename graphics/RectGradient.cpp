#include "graphics/RectGradient.h"

#include "graphics/Brush.h"
#include "graphics/GdiplusNew.h"
#include "graphics/OutputDevice.h"

RectGradient::RectGradient(ColorPair const &rColors)
    : m_aColors(rColors), m_nFrame(0), m_nCenterTransparency(100), m_nSurroundTransparency(100)
{
}

RectGradient::RectGradient(RectGradient const &rOther)
    : m_aColors(rOther.m_aColors), m_nFrame(0), m_nCenterTransparency(100), m_nSurroundTransparency(100),
      m_aRectGradient(rOther.m_aRectGradient)
{
}

RectGradient &RectGradient::operator=(RectGradient const &rOther)
{
    // An assigned gradient is what a copy would be: the decoration is the
    // old owner's business.
    m_aColors = rOther.m_aColors;
    m_aRectGradient = rOther.m_aRectGradient;
    m_aPen = Pen();
    m_nFrame = 0;
    m_nCenterTransparency = 100;
    m_nSurroundTransparency = 100;
    return *this;
}

RectGradient::~RectGradient() = default;

Color RectGradient::GetAverageColor() const
{
    auto mix = [](unsigned first, unsigned second) {
        unsigned const v = (2 * first * 256 + second * 256) / 768;
        return v > 255 ? 255u : v;
    };
    Color const a = m_aColors[0], b = m_aColors[1];
    return Color(static_cast<unsigned long>(mix(a.Get8BitRed(), b.Get8BitRed())) |
                 static_cast<unsigned long>(mix(a.Get8BitGreen(), b.Get8BitGreen())) << 8 |
                 static_cast<unsigned long>(mix(a.Get8BitBlue(), b.Get8BitBlue())) << 16);
}

bool RectGradient::FillRect(OutputDevice *pDev, CRectangle const &rRect) const
{
    if (!pDev)
        return false;
    // Without a direction the ramp is drawn as the one colour it leans to.
    // The device's own tools are put back: a fill is no tool change.
    Pen const oldPen = pDev->GetPen();
    Brush const oldBrush = pDev->GetFillInBrush();
    pDev->ChangePen(Pen(5u));
    pDev->ChangeFillInBrush(Brush(GetAverageColor(), BrushStyleSolid));
    pDev->DrawRect(rRect);
    if (oldPen.IsValid())
        pDev->ChangePen(oldPen);
    if (oldBrush.IsValid())
        pDev->ChangeFillInBrush(oldBrush);
    return true;
}

RectGradient *RectGradient::Clone() const
{
    return new RectGradient(*this);
}

Gdiplus::Brush *RectGradient::CreateGdiplusBrush(CRectangle const &rRect) const
{
    Point const end = rRect.BottomLeft();
    return GdiplusNew<Gdiplus::LinearGradientBrush>(Gdiplus::Point(rRect.Left(), rRect.Top()),
                                                    Gdiplus::Point(end.X(), end.Y()),
                                                    m_aColors[0].GetGdiplusColor(100),
                                                    m_aColors[1].GetGdiplusColor(100));
}
