#include "graphics/GdiplusView.h"

#include "graphics/Bitmap.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

GdiplusView::GdiplusView(Bitmap const &rBitmap) : m_pImage(rBitmap.GetPGdiplusBitmap()), m_bOwned(false)
{
    if (m_pImage)
        return;
    // A GDI image: its own handle, which GetHBitmap answers without making one.
    if (HBITMAP h = rBitmap.GetHBitmap(Color(ColorNameLightMagenta))) {
        m_pImage = new Gdiplus::Bitmap(h, nullptr);
        m_bOwned = true;
        if (m_pImage->GetLastStatus() != Gdiplus::Ok) {
            delete m_pImage;
            m_pImage = nullptr;
        }
    }
}

GdiplusView::~GdiplusView()
{
    if (m_bOwned)
        delete m_pImage;
}

int GdiplusView::Width() const
{
    return m_pImage ? int(m_pImage->GetWidth()) : 0;
}

int GdiplusView::Height() const
{
    return m_pImage ? int(m_pImage->GetHeight()) : 0;
}

Gdiplus::Bitmap *GdiplusView::CloneArgb() const
{
    int const w = Width(), h = Height();
    if (!m_pImage || w <= 0 || h <= 0)
        return nullptr;
    Gdiplus::Bitmap *clone = m_pImage->Clone(0, 0, w, h, PixelFormat32bppARGB);
    if (clone && clone->GetLastStatus() != Gdiplus::Ok) {
        delete clone;
        clone = nullptr;
    }
    return clone;
}

int GdiplusView::DrawResampled(Gdiplus::Graphics &rGraphics, Gdiplus::Bitmap *pImage, Gdiplus::RectF const &rDest,
                               Gdiplus::RectF const &rSource, Gdiplus::ImageAttributes *pAttributes)
{
    rGraphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    rGraphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    Gdiplus::ImageAttributes own;
    Gdiplus::ImageAttributes *attributes = pAttributes ? pAttributes : &own;
    // Without a tiling wrap the resampler blends transparent black in at the
    // image's edges.
    attributes->SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    return rGraphics.DrawImage(pImage, rDest, rSource.X, rSource.Y, rSource.Width, rSource.Height,
                               Gdiplus::UnitPixel, attributes);
}
