// The bitmap part of the output device: blits of GDI images, GDI+ drawing of
// GDI+ images and of everything stretched, transparent drawing, tiling, and
// copies of the device's pixels.
#include "graphics/OutputDevice.h"

#include "graphics/Bitmap.h"
#include "graphics/GdiplusView.h"

#include <algorithm>
#include <cmath>
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

namespace {

using Gdiplus::RectF;
using Gdiplus::REAL;

// A memory DC with the bitmap's GDI handle selected, for blits from it.
class SourceDC
{
public:
    SourceDC(HDC hRef, HBITMAP hBitmap) : m_hDC(hBitmap ? CreateCompatibleDC(hRef) : nullptr), m_hOld(nullptr)
    {
        if (m_hDC)
            m_hOld = SelectObject(m_hDC, hBitmap);
    }
    ~SourceDC()
    {
        if (m_hDC) {
            SelectObject(m_hDC, m_hOld);
            DeleteDC(m_hDC);
        }
    }
    SourceDC(SourceDC const &) = delete;
    SourceDC &operator=(SourceDC const &) = delete;
    HDC Get() const { return m_hOld ? m_hDC : nullptr; }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// Draws a part of the bitmap into a rectangle through GDI+; nOpacity 0..255;
// an optional colour key. Unstretched drawings at whole pixels are copied
// pixel for pixel, stretched ones resampled bicubically.
Gdiplus::Status DrawThroughGdiplus(HDC h, Bitmap const &rBitmap, RectF const &rDest, RectF const &rSource,
                                   int nOpacity, Color const *pKey)
{
    GdiplusView view(rBitmap);
    if (!view.Get())
        return Gdiplus::InvalidParameter;
    Gdiplus::Graphics g(h);
    if (g.GetLastStatus() != Gdiplus::Ok)
        return g.GetLastStatus();
    Gdiplus::ImageAttributes attributes;
    if (nOpacity < 255) {
        Gdiplus::ColorMatrix m{};
        for (int i = 0; i < 5; ++i)
            m.m[i][i] = 1.0f;
        m.m[3][3] = REAL(std::max(nOpacity, 0) / 255.0);
        attributes.SetColorMatrix(&m);
    }
    if (pKey) {
        Gdiplus::Color const k(255, BYTE(pKey->Get8BitRed()), BYTE(pKey->Get8BitGreen()), BYTE(pKey->Get8BitBlue()));
        attributes.SetColorKey(k, k);
    }
    bool const exact = rDest.Width == rSource.Width && rDest.Height == rSource.Height &&
                       rDest.X == std::floor(rDest.X) && rDest.Y == std::floor(rDest.Y);
    if (!exact)
        return Gdiplus::Status(GdiplusView::DrawResampled(g, view.Get(), rDest, rSource, &attributes));
    g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    return g.DrawImage(view.Get(), rDest, rSource.X, rSource.Y, rSource.Width, rSource.Height, Gdiplus::UnitPixel,
                       &attributes);
}

// The source rectangle cut to the image, the destination cut in proportion;
// false when nothing of it lies on the image.
bool CutToImage(RectF &rDest, RectF &rSource, Size const &rImage)
{
    if (!(rSource.Width > 0 && rSource.Height > 0 && rDest.Width > 0 && rDest.Height > 0))
        return false;
    REAL const sx = rDest.Width / rSource.Width, sy = rDest.Height / rSource.Height;
    REAL const l = std::max(rSource.X, REAL(0)), t = std::max(rSource.Y, REAL(0));
    REAL const r = std::min(rSource.X + rSource.Width, REAL(rImage.Width()));
    REAL const b = std::min(rSource.Y + rSource.Height, REAL(rImage.Height()));
    if (r <= l || b <= t)
        return false;
    rDest = RectF(rDest.X + (l - rSource.X) * sx, rDest.Y + (t - rSource.Y) * sy, (r - l) * sx, (b - t) * sy);
    rSource = RectF(l, t, r - l, b - t);
    return true;
}

long long PositiveMod(long long a, long long m)
{
    long long const r = a % m;
    return r < 0 ? r + m : r;
}

} // namespace

void OutputDevice::ChangeBackgroundBitmap(Bitmap const &rBitmap)
{
    // Copied before the old one goes: the bitmap may be the kept one.
    Bitmap *copy = rBitmap.Empty() ? nullptr : new Bitmap(rBitmap);
    delete m_pBackgroundBitmap;
    m_pBackgroundBitmap = copy;
}

bool OutputDevice::DrawBitmap(Point const &rPos, Bitmap const &rBitmap)
{
    Size const s = rBitmap.GetSize();
    return DrawBitmap(rPos, s, Point(0, 0), s, rBitmap);
}

bool OutputDevice::DrawBitmap(Point const &rPos, Size const &rSize, Bitmap const &rBitmap)
{
    return DrawBitmap(rPos, rSize, Point(0, 0), rBitmap.GetSize(), rBitmap);
}

bool OutputDevice::DrawBitmap(Point const &rPos, Size const &rSize, Point const &rSrcPos, Size const &rSrcSize,
                              Bitmap const &rBitmap)
{
    return ImpDrawBitmap(rPos, rSize, rSrcPos, rSrcSize, rBitmap, nullptr);
}

bool OutputDevice::ImpDrawBitmap(Point const &rPos, Size const &rSize, Point const &rSrcPos, Size const &rSrcSize,
                                 Bitmap const &rBitmap, Color const *pKey)
{
    HDC h = GethDC();
    if (!h || rBitmap.Empty())
        return false;
    RectF dest(REAL(rPos.X()), REAL(rPos.Y()), REAL(rSize.Width()), REAL(rSize.Height()));
    RectF source(REAL(rSrcPos.X()), REAL(rSrcPos.Y()), REAL(rSrcSize.Width()), REAL(rSrcSize.Height()));
    if (!CutToImage(dest, source, rBitmap.GetSize()))
        return false;
    if (rBitmap.IsGdiplusBitmap() || rSize != rSrcSize)
        return GdiPlusDone(DrawThroughGdiplus(h, rBitmap, dest, source, 255, pKey));
    // Unstretched GDI: a blit, so that the raster operation applies; with a
    // key, the platform's transparent blit.
    SourceDC src(h, rBitmap.GetHBitmap(pKey ? *pKey : Color(ColorNameLightMagenta)));
    if (!src.Get())
        return false;
    int const x = int(dest.X), y = int(dest.Y), w = int(dest.Width), ht = int(dest.Height);
    if (!pKey)
        return BitBlt(h, x, y, w, ht, src.Get(), int(source.X), int(source.Y), m_nRasterOp) != 0;
    return TransparentBlt(h, x, y, w, ht, src.Get(), int(source.X), int(source.Y), w, ht, pKey->GetLong()) != 0;
}

bool OutputDevice::DrawBitmapHQ(FPoint const &rPos, Bitmap const &rBitmap, int nOpacity)
{
    Size const s = rBitmap.GetSize();
    return DrawBitmapHQ(FRectangle(rPos, FSize(s.Width(), s.Height())),
                        FRectangle(FPoint(0, 0), FSize(s.Width(), s.Height())), rBitmap, nOpacity);
}

bool OutputDevice::DrawBitmapHQ(FPoint const &rPos, FSize const &rSize, Bitmap const &rBitmap, int nOpacity)
{
    Size const s = rBitmap.GetSize();
    return DrawBitmapHQ(FRectangle(rPos, rSize), FRectangle(FPoint(0, 0), FSize(s.Width(), s.Height())), rBitmap,
                        nOpacity);
}

bool OutputDevice::DrawBitmapHQ(FRectangle const &rDest, FRectangle const &rSource, Bitmap const &rBitmap,
                                int nOpacity)
{
    HDC h = GethDC();
    if (!h || rBitmap.Empty())
        return false;
    if (nOpacity <= 0)
        return true;
    RectF dest(REAL(rDest.Left()), REAL(rDest.Top()), REAL(rDest.GetWidth()), REAL(rDest.GetHeight()));
    RectF source(REAL(rSource.Left()), REAL(rSource.Top()), REAL(rSource.GetWidth()), REAL(rSource.GetHeight()));
    if (!CutToImage(dest, source, rBitmap.GetSize()))
        return false;
    return GdiPlusDone(DrawThroughGdiplus(h, rBitmap, dest, source, std::min(nOpacity, 255), nullptr));
}

bool OutputDevice::DrawBitmapScaled(Point const &rPos, Bitmap const &rBitmap)
{
    Size const s = rBitmap.GetSize();
    double const f = Bitmap::GetScreenScale();
    return DrawBitmap(rPos, Size(int(std::floor(s.Width() * f + 0.5)), int(std::floor(s.Height() * f + 0.5))),
                      rBitmap);
}

bool OutputDevice::DrawBitmapScaled(CRectangle const &rRect, Bitmap const &rBitmap)
{
    Size const s = rBitmap.GetSize();
    if (rRect.IsEmpty() || rBitmap.Empty())
        return false;
    double const f = std::min(double(rRect.GetWidth()) / s.Width(), double(rRect.GetHeight()) / s.Height());
    int const w = std::max(1, int(std::floor(s.Width() * f + 0.5)));
    int const ht = std::max(1, int(std::floor(s.Height() * f + 0.5)));
    return DrawBitmap(Point(rRect.Left() + (rRect.GetWidth() - w) / 2, rRect.Top() + (rRect.GetHeight() - ht) / 2),
                      Size(w, ht), rBitmap);
}

bool OutputDevice::DrawBitmapTransparent(Point const &rPos, Bitmap const &rBitmap, Color const &rKey)
{
    Size const s = rBitmap.GetSize();
    return DrawBitmapTransparent(rPos, s, Point(0, 0), s, rBitmap, rKey);
}

bool OutputDevice::DrawBitmapTransparent(Point const &rPos, Size const &rSize, Bitmap const &rBitmap,
                                         Color const &rKey)
{
    return DrawBitmapTransparent(rPos, rSize, Point(0, 0), rBitmap.GetSize(), rBitmap, rKey);
}

bool OutputDevice::DrawBitmapTransparent(Point const &rPos, Size const &rSize, Point const &rSrcPos,
                                         Size const &rSrcSize, Bitmap const &rBitmap, Color const &rKey)
{
    return ImpDrawBitmap(rPos, rSize, rSrcPos, rSrcSize, rBitmap, &rKey);
}

bool OutputDevice::MSJDrawTransparentBitmap(Point const &rPos, Bitmap const &rBitmap, Color const &rKey)
{
    HDC h = GethDC();
    Size const s = rBitmap.GetSize();
    if (!h || rBitmap.Empty())
        return false;
    int const w = s.Width(), ht = s.Height();
    // A copy of the image, a one-bit mask of its key pixels (1 = key), and
    // the classic three blits: the destination is cleared where the image
    // goes, the image's key pixels are cleared, and the two are combined.
    SourceDC image(h, rBitmap.GetHBitmap(rKey));
    HDC copyDC = CreateCompatibleDC(h), maskDC = CreateCompatibleDC(h);
    HBITMAP copy = CreateCompatibleBitmap(h, w, ht);
    HBITMAP mask = CreateBitmap(w, ht, 1, 1, nullptr);
    bool ok = image.Get() && copyDC && maskDC && copy && mask;
    if (ok) {
        HGDIOBJ oldCopy = SelectObject(copyDC, copy);
        HGDIOBJ oldMask = SelectObject(maskDC, mask);
        ok = BitBlt(copyDC, 0, 0, w, ht, image.Get(), 0, 0, SRCCOPY) != 0;
        COLORREF const oldBk = SetBkColor(copyDC, rKey.GetLong());
        ok = ok && BitBlt(maskDC, 0, 0, w, ht, copyDC, 0, 0, SRCCOPY) != 0;
        // Mask to colour: 1 becomes the background colour, 0 the text colour.
        SetBkColor(copyDC, RGB(255, 255, 255));
        COLORREF const oldText = SetTextColor(copyDC, RGB(0, 0, 0));
        ok = ok && BitBlt(copyDC, 0, 0, w, ht, maskDC, 0, 0, 0x00220326) != 0; // DSna
        SetBkColor(copyDC, oldBk);
        SetTextColor(copyDC, oldText);
        COLORREF const destBk = SetBkColor(h, RGB(255, 255, 255));
        COLORREF const destText = SetTextColor(h, RGB(0, 0, 0));
        ok = ok && BitBlt(h, rPos.X(), rPos.Y(), w, ht, maskDC, 0, 0, SRCAND) != 0;
        SetBkColor(h, destBk);
        SetTextColor(h, destText);
        ok = ok && BitBlt(h, rPos.X(), rPos.Y(), w, ht, copyDC, 0, 0, SRCPAINT) != 0;
        SelectObject(copyDC, oldCopy);
        SelectObject(maskDC, oldMask);
    }
    if (copy)
        DeleteObject(copy);
    if (mask)
        DeleteObject(mask);
    if (copyDC)
        DeleteDC(copyDC);
    if (maskDC)
        DeleteDC(maskDC);
    return ok;
}

Bitmap OutputDevice::GetBitmap(Point const &rPos, Size const &rSize)
{
    HDC h = GethDC();
    if (!h || rSize.IsEmpty() || rSize.Width() > BITMAP_MAX_SIDE || rSize.Height() > BITMAP_MAX_SIDE)
        return Bitmap();
    HBITMAP copy = CreateCompatibleBitmap(h, rSize.Width(), rSize.Height());
    if (!copy)
        return Bitmap();
    bool ok = false;
    {
        SourceDC target(h, copy);
        ok = target.Get() && BitBlt(target.Get(), 0, 0, rSize.Width(), rSize.Height(), h, rPos.X(), rPos.Y(),
                                    SRCCOPY) != 0;
    }
    Bitmap result;
    if (ok)
        result.SetHBitmap(copy);
    else
        DeleteObject(copy);
    return result;
}

Bitmap OutputDevice::GetBitmapHQ(Point const &rPos, Size const &rSize)
{
    Bitmap pixels = GetBitmap(rPos, rSize);
    if (pixels.Empty())
        return Bitmap();
    // A device bitmap reads as 32-bit RGB; the clone makes it opaque ARGB.
    Gdiplus::Bitmap wrapper(pixels.GetHBitmap(Color(ColorNameLightMagenta)), nullptr);
    if (wrapper.GetLastStatus() != Gdiplus::Ok)
        return Bitmap();
    return Bitmap(&wrapper);
}

bool OutputDevice::Erase(Bitmap const &rBitmap, CRectangle const &rRect, int nDX, int nDY)
{
    HDC h = GethDC();
    Size const s = rBitmap.GetSize();
    if (!h || rRect.IsEmpty() || rBitmap.Empty())
        return false;
    SourceDC src(h, rBitmap.GetHBitmap(Color(ColorNameLightMagenta)));
    if (!src.Get())
        return false;
    long long const bw = s.Width(), bh = s.Height();
    long long const right = rRect.Right() + 1LL, bottom = rRect.Bottom() + 1LL;
    long long sy = PositiveMod(rRect.Top() + (long long)nDY, bh);
    for (long long y = rRect.Top(); y < bottom; y += bh - sy, sy = 0) {
        long long const th = std::min(bh - sy, bottom - y);
        long long sx = PositiveMod(rRect.Left() + (long long)nDX, bw);
        for (long long x = rRect.Left(); x < right; x += bw - sx, sx = 0) {
            long long const tw = std::min(bw - sx, right - x);
            if (!BitBlt(h, int(x), int(y), int(tw), int(th), src.Get(), int(sx), int(sy), SRCCOPY))
                return false;
        }
    }
    return true;
}
