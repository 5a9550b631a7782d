// The device's drawing against the platform calls it wraps, on one memory DC:
// what the kept tools, the end-point pixel and the per-call GDI+ objects cost.
#include "bench/BenchHarness.h"
#include "frame/KSGlobal.h"
#include "graphics/VirtualDevice.h"

#include <cstdio>
#include <windows.h>
#include <gdiplus.h>

namespace {

// Benchmarks link only the library: the raw GDI+ baseline binds the flat API
// at run time.
namespace gp = Gdiplus::DllExports;
struct FlatApi
{
    HMODULE dll = LoadLibraryA("gdiplus.dll");
    template <class F> F Get(char const *name) { return reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(dll, name))); }
    decltype(&gp::GdipCreateFromHDC) CreateFromHDC = Get<decltype(&gp::GdipCreateFromHDC)>("GdipCreateFromHDC");
    decltype(&gp::GdipDeleteGraphics) DeleteGraphics = Get<decltype(&gp::GdipDeleteGraphics)>("GdipDeleteGraphics");
    decltype(&gp::GdipSetSmoothingMode) SetSmoothingMode = Get<decltype(&gp::GdipSetSmoothingMode)>("GdipSetSmoothingMode");
    decltype(&gp::GdipCreatePen1) CreatePen1 = Get<decltype(&gp::GdipCreatePen1)>("GdipCreatePen1");
    decltype(&gp::GdipDeletePen) DeletePen = Get<decltype(&gp::GdipDeletePen)>("GdipDeletePen");
    decltype(&gp::GdipDrawLine) DrawLine = Get<decltype(&gp::GdipDrawLine)>("GdipDrawLine");
    decltype(&gp::GdipCreateSolidFill) CreateSolidFill = Get<decltype(&gp::GdipCreateSolidFill)>("GdipCreateSolidFill");
    decltype(&gp::GdipDeleteBrush) DeleteBrush = Get<decltype(&gp::GdipDeleteBrush)>("GdipDeleteBrush");
    decltype(&gp::GdipFillEllipse) FillEllipse = Get<decltype(&gp::GdipFillEllipse)>("GdipFillEllipse");
};

} // namespace

int main()
{
    KSInit();
    {
        VirtualDevice dev;
        dev.SetOutputSize(Size(256, 256), true);
        dev.ChangePen(Pen(Color(0x0000FFul), 1, PS_SOLID));
        dev.ChangeFillInBrush(Brush(Color(0xFF0000ul), BrushStyleSolid));
        dev.ChangeFont(Font(SString("Arial"), 14));
        HDC h = dev.GethDC();
        int const rounds = 7;
        FlatApi api;

        int const N = 100000;
        bench::Compare("DrawRect x100000", "Rectangle", rounds,
                       [&] {
                           for (int i = 0; i < N; ++i)
                               Rectangle(h, i & 63, 10, (i & 63) + 40, 50);
                       },
                       [&] {
                           for (int i = 0; i < N; ++i)
                               dev.DrawRect(CRectangle(i & 63, 10, (i & 63) + 39, 49));
                       });
        bench::Compare("DrawLine x100000", "MoveToEx+LineTo", rounds,
                       [&] {
                           for (int i = 0; i < N; ++i) {
                               MoveToEx(h, i & 127, 0, nullptr);
                               LineTo(h, 200, i & 127);
                           }
                       },
                       [&] {
                           for (int i = 0; i < N; ++i)
                               dev.DrawLine(Point(i & 127, 0), Point(200, i & 127));
                       });

        int const M = 10000;
        bench::Compare("DrawLineHQ x10000", "GDI+ Graphics+DrawLine", rounds,
                       [&] {
                           for (int i = 0; i < M; ++i) {
                               Gdiplus::GpGraphics *g = nullptr;
                               Gdiplus::GpPen *pen = nullptr;
                               api.CreateFromHDC(h, &g);
                               api.SetSmoothingMode(g, Gdiplus::SmoothingModeHighQuality);
                               api.CreatePen1(0xFFFF0000, 2.0f, Gdiplus::UnitWorld, &pen);
                               api.DrawLine(g, pen, float(i & 127), 0.0f, 200.0f, 100.0f);
                               api.DeletePen(pen);
                               api.DeleteGraphics(g);
                           }
                       },
                       [&] {
                           for (int i = 0; i < M; ++i)
                               dev.DrawLineHQ(FPoint(i & 127, 0), FPoint(200, 100), 2.0, 0);
                       });
        bench::Compare("DrawEllipseHQ x10000", "GDI+ Graphics+FillEllipse", rounds,
                       [&] {
                           for (int i = 0; i < M; ++i) {
                               Gdiplus::GpGraphics *g = nullptr;
                               Gdiplus::GpSolidFill *b = nullptr;
                               api.CreateFromHDC(h, &g);
                               api.CreateSolidFill(0x7F0000FF, &b);
                               api.FillEllipse(g, b, float(i & 63), 10.0f, 60.0f, 40.0f);
                               api.DeleteBrush(b);
                               api.DeleteGraphics(g);
                           }
                       },
                       [&] {
                           dev.DeleteDrawingTools(); // no outline: the same work as the baseline
                           for (int i = 0; i < M; ++i)
                               dev.DrawEllipseHQ(FRectangle(i & 63, 10, (i & 63) + 60, 50),
                                                 TransparentColor(Color(0xFF0000ul), 50));
                       });

        dev.ChangeFont(Font(SString("Arial"), 14));
        HFONT font = CreateFontA(-14, 0, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
        UString text(L"Output device text");
        bench::Compare("DrawTextW x10000", "DrawTextW (user32)", rounds,
                       [&] {
                           for (int i = 0; i < M; ++i) {
                               HGDIOBJ old = SelectObject(h, font);
                               SetBkMode(h, TRANSPARENT);
                               RECT rc{i & 63, 20, 256, 60};
                               ::DrawTextW(h, text.GetStr(), text.Len(), &rc, DT_NOCLIP | DT_SINGLELINE);
                               SelectObject(h, old);
                           }
                       },
                       [&] {
                           for (int i = 0; i < M; ++i)
                               dev.DrawTextW(Point(i & 63, 20), text);
                       });
        DeleteObject(font);
    }
    KSExit();
    return 0;
}
