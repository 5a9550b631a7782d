// A vertical gradient filling a 400 x 300 area, against the platform's own
// gradient fill (GDI's GradientFill) of the same area and colours. Both
// ramps are checked at their ends.
#include "bench/BenchHarness.h"
#include "frame/KSGlobal.h"
#include "graphics/ColorPair.h"
#include "graphics/VerticalGradient.h"
#include "graphics/VirtualDevice.h"

#include <cstdio>
#include <cstdlib>
#include <windows.h>

namespace {
bool Near(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) < 8 && std::abs(GetGValue(a) - GetGValue(b)) < 8 &&
           std::abs(GetBValue(a) - GetBValue(b)) < 8;
}
} // namespace

int main()
{
    KSInit();
    int failures = 0;
    {
        int const w = 400, h = 300;
        COLORREF const top = RGB(20, 60, 160), bottom = RGB(230, 240, 255);
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bmp);
        VirtualDevice device;
        device.SetOutputSize(Size(w, h), false);
        VerticalGradient const gradient(ColorPair(Color(static_cast<unsigned long>(top)),
                                                  Color(static_cast<unsigned long>(bottom))));
        bench::Compare("200 vertical gradients of 400 x 300", "GDI GradientFill", 5,
            [&] {
                TRIVERTEX v[2] = {{0, 0, COLOR16(GetRValue(top) << 8), COLOR16(GetGValue(top) << 8),
                                   COLOR16(GetBValue(top) << 8), 0},
                                  {w, h, COLOR16(GetRValue(bottom) << 8), COLOR16(GetGValue(bottom) << 8),
                                   COLOR16(GetBValue(bottom) << 8), 0}};
                GRADIENT_RECT r{0, 1};
                for (int i = 0; i < 200; ++i)
                    GradientFill(dc, v, 2, &r, 1, GRADIENT_FILL_RECT_V);
            },
            [&] {
                for (int i = 0; i < 200; ++i)
                    gradient.FillRect(&device, CRectangle(0, 0, w - 1, h - 1));
            });
        COLORREF const ours[2] = {static_cast<COLORREF>(device.GetPixel(Point(w / 2, 0)).GetLong()),
                                  static_cast<COLORREF>(device.GetPixel(Point(w / 2, h - 1)).GetLong())};
        COLORREF const theirs[2] = {GetPixel(dc, w / 2, 0), GetPixel(dc, w / 2, h - 1)};
        for (int i = 0; i < 2; ++i)
            if (!Near(ours[i], theirs[i]) || !Near(ours[i], i ? bottom : top)) {
                std::printf("GradientBench: the ramps differ at the %s: %06lx / %06lx\n", i ? "bottom" : "top",
                            ours[i], theirs[i]);
                ++failures;
            }
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    KSExit();
    return failures ? 1 : 0;
}
