#include "graphics/LinearRectGradient.h"

#include "graphics/GdiplusNew.h"
#include "graphics/OutputDevice.h"

#include <memory>

LinearRectGradient::~LinearRectGradient() = default;

RectGradient *LinearRectGradient::Clone() const
{
    return new RectGradient(*this);
}

Gdiplus::Brush *LinearRectGradient::CreateGdiplusBrush(CRectangle const &rRect) const
{
    Point const end = GetEndPoint(rRect);
    // Tiled, so that the part of an area beyond the gradient rectangle
    // repeats the ramp instead of failing.
    return GdiplusNew<Gdiplus::LinearGradientBrush>(Gdiplus::Point(rRect.Left(), rRect.Top()),
                                                    Gdiplus::Point(end.X(), end.Y()),
                                                    m_aColors[0].GetGdiplusColor(100),
                                                    m_aColors[1].GetGdiplusColor(100));
}

bool LinearRectGradient::FillRect(OutputDevice *pDev, CRectangle const &rRect) const
{
    if (!pDev || rRect.IsEmpty())
        return false;
    HDC h = pDev->GethDC();
    if (!h)
        return false;
    std::unique_ptr<Gdiplus::Brush> brush(CreateGdiplusBrush(m_aRectGradient.IsEmpty() ? rRect : m_aRectGradient));
    if (!brush)
        return false;
    Gdiplus::Graphics g(h);
    if (g.GetLastStatus() != Gdiplus::Ok)
        return false;
    int const l = rRect.Left(), t = rRect.Top(), r = rRect.Right(), b = rRect.Bottom();
    Gdiplus::Status const st = g.FillRectangle(brush.get(), l, t, r - l + 1, b - t + 1);
    if (m_aPen.IsValid()) {
        Gdiplus::Pen pen(m_aPen.GetColor().GetGdiplusColor(m_nCenterTransparency), Gdiplus::REAL(m_aPen.GetWidth()));
        // Frame lines are decoration: their failure leaves the fill's result.
        if (m_nFrame & RectGradientFrameTop)
            g.DrawLine(&pen, l, t, r, t);
        if (m_nFrame & RectGradientFrameLeft)
            g.DrawLine(&pen, l, t, l, b);
        if (m_nFrame & RectGradientFrameRight)
            g.DrawLine(&pen, r, t, r, b);
        if (m_nFrame & RectGradientFrameBottom)
            g.DrawLine(&pen, l, b, r, b);
    }
    return st == Gdiplus::Ok;
}
