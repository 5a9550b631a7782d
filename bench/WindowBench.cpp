// A routed, painting Window against the same work done by raw platform code.
#include "bench/BenchHarness.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "graphics/Brush.h"
#include "graphics/Pen.h"
#include "window/Window.h"
#include "window/WorkWindow.h"

#include <windows.h>

namespace {

class FillWindow : public WorkWindow
{
public:
    FillWindow() : WorkWindow(static_cast<CWnd *>(nullptr), 0) {}
    long paints = 0;
    void Paint(CRectangle const &) override
    {
        ++paints;
        ChangePen(Pen(PS_NULL));
        ChangeFillInBrush(Brush(Color(0x336699ul), BrushStyleSolid));
        Size s = GetOutputSizePixel();
        DrawRect(CRectangle(Point(0, 0), s));
    }
};

long g_rawPaints = 0;
LRESULT CALLBACK RawProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_PAINT) {
        ++g_rawPaints;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT r;
        GetClientRect(h, &r);
        HBRUSH b = CreateSolidBrush(0x996633);
        FillRect(dc, &r, b);
        DeleteObject(b);
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

} // namespace

int main()
{
    KSInit();
    WNDCLASSA wc{};
    wc.lpfnWndProc = RawProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KsBenchRaw";
    RegisterClassA(&wc);
    int const rounds = 7;
    {
        FillWindow routed;
        routed.SetPosSizePixel(Point(0, 0), Size(300, 200));
        routed.Show();
        HWND raw = CreateWindowA("KsBenchRaw", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        auto paint = [](HWND h) {
            for (int i = 0; i < 500; ++i)
                RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        };
        bench::Compare("routed WM_PAINT filling 300x200, x500", "raw window proc", rounds, [&] { paint(raw); },
                       [&] { paint(routed.GetHWND()); });
        DestroyWindow(raw);
        if (routed.paints == 0 || g_rawPaints == 0)
            return 1;
    }
    char const *cls = GetPKSData()->m_aWndClassName.GetString();
    bench::Compare("create + destroy 1,000 windows", "CreateWindowEx", rounds,
        [&] {
            for (int i = 0; i < 1000; ++i)
                DestroyWindow(CreateWindowExA(0, cls, "", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr, nullptr,
                                              nullptr, nullptr));
        },
        [&] {
            for (int i = 0; i < 1000; ++i) {
                Window w(static_cast<CWnd *>(nullptr), 0, 2);
                bench::Keep(w);
            }
        });
    KSExit();
    return 0;
}
