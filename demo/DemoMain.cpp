// The showcase application. It opens a window, draws into it, captures the
// client area and saves it as a PNG picture into the folder named on the
// command line (default: the current folder).
#include <Kestrel5.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <windows.h>
#include <gdiplus.h>
#include <zlib.h>

namespace {

int const kWidth = 640;
int const kHeight = 400;

void FillBand(HDC dc, RECT r, COLORREF from, COLORREF to)
{
    int const h = r.bottom - r.top;
    for (int y = 0; y < h; ++y) {
        auto mix = [&](int a, int b) { return a + (b - a) * y / (h > 1 ? h - 1 : 1); };
        HBRUSH b = CreateSolidBrush(RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
                                        mix(GetBValue(from), GetBValue(to))));
        RECT line{r.left, r.top + y, r.right, r.top + y + 1};
        FillRect(dc, &line, b);
        DeleteObject(b);
    }
}

void Paint(HDC dc)
{
    RECT all{0, 0, kWidth, kHeight};
    FillBand(dc, all, RGB(32, 48, 96), RGB(200, 210, 235));

    HFONT big = CreateFontA(-40, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, "Tahoma");
    HFONT small = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, "Tahoma");
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, big);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, 32, 28, "Kestrel5", 8);
    SelectObject(dc, small);
    SetTextColor(dc, RGB(230, 236, 255));
    std::string line = std::string("zlib ") + zlibVersion() + " served by Kestrel5.dll";
    TextOutA(dc, 34, 80, line.c_str(), int(line.size()));

    // Three "panes" as a docking layout will one day draw them.
    struct Pane { RECT r; COLORREF c; char const *name; } const panes[] = {
        {{32, 120, 212, 368}, RGB(240, 244, 250), "Explorer"},
        {{220, 120, 608, 280}, RGB(255, 255, 255), "Editor"},
        {{220, 288, 608, 368}, RGB(250, 246, 236), "Output"},
    };
    HPEN border = CreatePen(PS_SOLID, 1, RGB(60, 70, 110));
    HGDIOBJ oldPen = SelectObject(dc, border);
    for (auto const &p : panes) {
        HBRUSH fill = CreateSolidBrush(p.c);
        HGDIOBJ oldBrush = SelectObject(dc, fill);
        Rectangle(dc, p.r.left, p.r.top, p.r.right, p.r.bottom);
        SelectObject(dc, oldBrush);
        DeleteObject(fill);
        RECT cap{p.r.left + 1, p.r.top + 1, p.r.right - 1, p.r.top + 22};
        FillBand(dc, cap, RGB(70, 90, 150), RGB(110, 130, 190));
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutA(dc, cap.left + 6, cap.top + 2, p.name, int(std::strlen(p.name)));
    }
    SelectObject(dc, oldPen);
    DeleteObject(border);
    SelectObject(dc, old);
    DeleteObject(big);
    DeleteObject(small);
}

LRESULT CALLBACK DemoProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        Paint(dc);
        EndPaint(wnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wp));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

bool EncoderClsid(wchar_t const *mime, CLSID *clsid)
{
    UINT n = 0, bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&n, &bytes) != Gdiplus::Ok || bytes == 0)
        return false;
    std::string buf(bytes, '\0');
    auto *codecs = reinterpret_cast<Gdiplus::ImageCodecInfo *>(buf.data());
    if (Gdiplus::GetImageEncoders(n, bytes, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < n; ++i)
        if (wcscmp(codecs[i].MimeType, mime) == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    return false;
}

// The client area through PrintWindow into a DIB, saved by GDI+ as PNG.
bool SaveClientPng(HWND wnd, std::wstring const &path)
{
    RECT rc;
    GetClientRect(wnd, &rc);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = rc.right;
    bi.bmiHeader.biHeight = -rc.bottom;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC screen = GetDC(wnd);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(wnd, screen);
    if (!mem || !dib) {
        if (mem)
            DeleteDC(mem);
        return false;
    }
    HGDIOBJ old = SelectObject(mem, dib);
    bool ok = PrintWindow(wnd, mem, PW_CLIENTONLY) != 0;
    SelectObject(mem, old);
    if (ok) {
        Gdiplus::Bitmap image(dib, nullptr);
        CLSID png;
        ok = EncoderClsid(L"image/png", &png) && image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    DeleteObject(dib);
    DeleteDC(mem);
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    std::string dir = argc > 1 ? argv[1] : ".";
    Gdiplus::GdiplusStartupInput gsi;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &gsi, nullptr) != Gdiplus::Ok) {
        std::printf("demo: GDI+ did not start\n");
        return 1;
    }

    WNDCLASSA wc{};
    wc.lpfnWndProc = DemoProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = "Kestrel5Demo";
    RegisterClassA(&wc);
    RECT r{0, 0, kWidth, kHeight};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    HWND wnd = CreateWindowA("Kestrel5Demo", "Kestrel5 demo", WS_OVERLAPPEDWINDOW, 40, 40, r.right - r.left,
                             r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    if (!wnd) {
        std::printf("demo: no window\n");
        return 1;
    }
    ShowWindow(wnd, SW_SHOW);
    UpdateWindow(wnd);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    std::string file = dir + "\\demo.png";
    std::wstring wfile(file.begin(), file.end());
    bool saved = SaveClientPng(wnd, wfile);
    std::printf("demo: %s %s\n", saved ? "wrote" : "could not write", file.c_str());
    DestroyWindow(wnd);
    Gdiplus::GdiplusShutdown(token);
    if (!saved)
        return 1;
    std::printf("demo: done\n");
    return 0;
}
