#pragma once
// Inside the library only: how GDI+ sees a Bitmap, whichever kind of image it
// holds, and the resampling every stretched GDI+ drawing of the library uses.
#include <windef.h>

namespace Gdiplus {
class Bitmap;
class Graphics;
class ImageAttributes;
class RectF;
} // namespace Gdiplus
class Bitmap;

// The bitmap's own GDI+ image, or a wrapper of its GDI handle that lives as
// long as the view. Get() is null for an empty bitmap or one GDI+ cannot
// read.
class GdiplusView
{
public:
    explicit GdiplusView(Bitmap const &rBitmap);
    ~GdiplusView();
    GdiplusView(GdiplusView const &) = delete;
    GdiplusView &operator=(GdiplusView const &) = delete;

    Gdiplus::Bitmap *Get() const { return m_pImage; }
    int Width() const;
    int Height() const;
    // A new 32-bit ARGB image of the view's pixels, or null.
    Gdiplus::Bitmap *CloneArgb() const;

    // High-quality bicubic drawing of a part of an image into a rectangle
    // that does not pull transparent pixels in at the edges; pAttributes
    // (a colour key, an opacity) may be null. Answers GDI+'s status.
    static int DrawResampled(Gdiplus::Graphics &rGraphics, Gdiplus::Bitmap *pImage, Gdiplus::RectF const &rDest,
                             Gdiplus::RectF const &rSource, Gdiplus::ImageAttributes *pAttributes = nullptr);

private:
    Gdiplus::Bitmap *m_pImage;
    bool m_bOwned;
};
