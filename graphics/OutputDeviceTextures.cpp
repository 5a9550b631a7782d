// The output device's share of gradients and textures: background textures,
// texture fills and the centre-point shapes.
#include "graphics/OutputDevice.h"

#include "graphics/Bitmap.h"
#include "graphics/CenterPointGradient.h"
#include "graphics/GdiplusNew.h"
#include "graphics/RectGradient.h"
#include "graphics/Texture.h"

#include <memory>
#include <vector>

void OutputDevice::ChangeBackgroundGradient(RectGradient const &rGradient)
{
    RectGradient *clone = rGradient.Clone();
    delete m_pBackgroundGradient;
    m_pBackgroundGradient = clone;
}

void OutputDevice::ChangeBackgroundTexture(Texture const &rTexture)
{
    if (RectGradient const *g = rTexture.GetPGradient()) {
        ChangeBackgroundGradient(*g);
        ChangeBackgroundBitmap(Bitmap());
        m_aBackgroundBrush = Brush(g->GetAverageColor(), BrushStyleSolid);
    } else if (rTexture.IsBMP()) {
        ChangeBackgroundBitmap(rTexture.GetBitmap());
        delete m_pBackgroundGradient;
        m_pBackgroundGradient = nullptr;
    } else {
        delete m_pBackgroundGradient;
        m_pBackgroundGradient = nullptr;
        ChangeBackgroundBitmap(Bitmap());
        m_aBackgroundBrush = rTexture.IsColor() ? Brush(rTexture.GetColor(), BrushStyleSolid) : Brush();
    }
}

Texture OutputDevice::GetBackgroundTexture() const
{
    if (m_pBackgroundGradient)
        return Texture(*m_pBackgroundGradient);
    if (m_pBackgroundBitmap)
        return Texture(*m_pBackgroundBitmap);
    if (m_aBackgroundBrush.IsValid())
        return Texture(m_aBackgroundBrush.GetColor());
    return Texture();
}

bool OutputDevice::Erase(RectGradient const &rGradient, CRectangle const &rRect)
{
    return rGradient.FillRect(this, rRect);
}

bool OutputDevice::Erase(Texture const &rTexture, CRectangle const &rRect, int nDX, int nDY)
{
    if (rRect.IsEmpty())
        return true;
    if (RectGradient const *g = rTexture.GetPGradient())
        return g->FillRect(this, rRect);
    if (rTexture.IsBMP()) {
        Bitmap const b = rTexture.GetBitmap();
        if (!rTexture.IsCenteredBMP())
            return Erase(b, rRect, nDX, nDY);
        Size const s = b.GetSize();
        if (!Erase(rTexture.GetColor(this), rRect))
            return false;
        return DrawBitmapHQ(FPoint(rRect.Left() + (rRect.GetWidth() - s.Width()) / 2,
                                   rRect.Top() + (rRect.GetHeight() - s.Height()) / 2),
                            b, 255);
    }
    return Erase(rTexture.GetColor(), rRect);
}

bool OutputDevice::Erase(Texture const &rTexture, int nDX, int nDY)
{
    Size const s = GetOutputSizePixel();
    if (s.IsEmpty())
        return false;
    return Erase(rTexture, CRectangle(Point(0, 0), s), nDX, nDY);
}

bool OutputDevice::DrawEllipse(CRectangle const &rRect, CenterPointGradient const &rGradient)
{
    if (rRect.IsEmpty())
        return false;
    return rGradient.FillEllipse(this, FRectangle(rRect));
}

bool OutputDevice::DrawPolygon(CPolygon const &rPoly, CenterPointGradient const &rGradient)
{
    HDC h = GethDC();
    if (!h || rPoly.Count() < 3)
        return false;
    std::unique_ptr<Gdiplus::PathGradientBrush> brush(rGradient.CreatePathGradientBrush(rPoly));
    if (!brush)
        return false;
    std::vector<Gdiplus::Point> pts;
    for (unsigned i = 0; i < rPoly.Count(); ++i)
        pts.emplace_back(rPoly[i].X(), rPoly[i].Y());
    Gdiplus::Graphics g(h);
    if (!GdiPlusDone(g.GetLastStatus()))
        return false;
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    if (!GdiPlusDone(g.FillPolygon(brush.get(), pts.data(), static_cast<INT>(pts.size()))))
        return false;
    Pen const outline = rGradient.GetPen();
    if (!outline.IsValid())
        return true;
    Gdiplus::Pen pen(outline.GetColor().GetGdiplusColor(100), static_cast<Gdiplus::REAL>(outline.GetWidth()));
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    return GdiPlusDone(g.DrawPolygon(&pen, pts.data(), static_cast<INT>(pts.size())));
}
