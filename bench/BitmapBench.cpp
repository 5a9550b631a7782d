// Images against the raw platform calls they end in.
//   load + draw: a 1024 x 1024 PNG file read and drawn on a memory device,
//     against GdipCreateBitmapFromFile + GdipDrawImageRectI;
//   Scale / ScaleHQ: a 256 x 256 image enlarged for a 144 dpi screen, against
//     StretchBlt into a compatible bitmap, and GDI+ bicubic DrawImage into a
//     new ARGB image.
#include "bench/BenchHarness.h"
#include "base/DirEntry.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "graphics/Bitmap.h"
#include "graphics/VirtualDevice.h"

#include <string>
#include <objidl.h>
#include <gdiplus.h>

namespace {

// A picture whose neighbouring pixels differ, so that PNG cannot make it
// trivially small.
Gdiplus::Bitmap *Picture(int side)
{
    auto *image = new Gdiplus::Bitmap(side, side, PixelFormat32bppARGB);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image->SetPixel(x, y, Gdiplus::Color(255, BYTE(x * 7 + y), BYTE(y * 3), BYTE((x ^ y) * 5)));
    return image;
}

std::string TempPng()
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + "kestrel5-bench-1024.png";
}

void LoadAndDraw()
{
    std::string const path = TempPng();
    {
        Gdiplus::Bitmap *image = Picture(1024);
        Bitmap(image).Save(DirEntry(SString(path.c_str())));
        delete image;
    }
    std::wstring const wide(path.begin(), path.end());
    VirtualDevice dev;
    dev.SetOutputSize(Size(1024, 1024), true);
    HDC dc = dev.GethDC();
    auto raw = [&] {
        Gdiplus::GpBitmap *image = nullptr;
        Gdiplus::GpGraphics *g = nullptr;
        Gdiplus::DllExports::GdipCreateBitmapFromFile(wide.c_str(), &image);
        Gdiplus::DllExports::GdipCreateFromHDC(dc, &g);
        Gdiplus::DllExports::GdipDrawImageRectI(g, image, 0, 0, 1024, 1024);
        Gdiplus::DllExports::GdipDeleteGraphics(g);
        Gdiplus::DllExports::GdipDisposeImage(image);
    };
    auto ours = [&] {
        Bitmap b;
        b.Load(DirEntry(SString(path.c_str())));
        dev.DrawBitmap(Point(0, 0), b);
    };
    bench::Compare("load and draw a 1024 x 1024 PNG", "GDI+ flat API", 9, raw, ours);
    DeleteFileA(path.c_str());
}

void Scaling()
{
    KSData *data = GetPKSData();
    data->m_nLogPixelsX = data->m_nLogPixelsY = 144;
    Gdiplus::Bitmap *image = Picture(256);
    Bitmap hq(image);
    HDC screen = GetDC(nullptr);
    HBITMAP gdiImage = CreateCompatibleBitmap(screen, 256, 256);
    {
        HDC mem = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(mem, gdiImage);
        Gdiplus::Graphics g(mem);
        g.DrawImage(image, 0, 0, 256, 256);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    Bitmap gdi(gdiImage);
    auto stretchBlt = [&] {
        HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
        HBITMAP result = CreateCompatibleBitmap(screen, 384, 384);
        HGDIOBJ oldFrom = SelectObject(from, gdiImage), oldTo = SelectObject(to, result);
        SetStretchBltMode(to, COLORONCOLOR);
        StretchBlt(to, 0, 0, 384, 384, from, 0, 0, 256, 256, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
        DeleteDC(from);
        DeleteDC(to);
        DeleteObject(result);
    };
    auto scale = [&] { bench::Keep(gdi.Scale()); };
    bench::Compare("Scale of 256 x 256 at 144 dpi", "StretchBlt", 31, stretchBlt, scale);
    auto bicubic = [&] {
        Gdiplus::Bitmap result(384, 384, PixelFormat32bppARGB);
        Gdiplus::Graphics g(&result);
        g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        g.DrawImage(image, 0, 0, 384, 384);
    };
    auto scaleHQ = [&] { bench::Keep(hq.ScaleHQ()); };
    bench::Compare("ScaleHQ of 256 x 256 at 144 dpi", "GDI+ bicubic", 15, bicubic, scaleHQ);
    DeleteObject(gdiImage);
    ReleaseDC(nullptr, screen);
    delete image;
}

} // namespace

int main()
{
    KSInit();
    LoadAndDraw();
    Scaling();
    KSExit();
    return 0;
}
