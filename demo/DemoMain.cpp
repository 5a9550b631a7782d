// The showcase application: a Kestrel5 program. It starts the library, builds
// a small window tree from the library's Window classes, lets the router
// deliver messages to them, and saves what the windows painted as PNG
// pictures into the folder named on the command line (default: the current
// folder).
#include <Kestrel5.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <windows.h>
#include <gdiplus.h>
#include <zlib.h>

namespace {

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

HFONT MakeFont(int height, int weight)
{
    return CreateFontA(-height, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, "Tahoma");
}

// A pane: a child Window with a caption. It counts the mouse and key events
// the router hands it and shows them.
class DemoPane : public Window
{
public:
    DemoPane(Window *parent, char const *title, COLORREF body) : Window(parent, 0, 0), m_title(title), m_body(body) {}

    int moves = 0, clicks = 0, keys = 0;
    SString lastKey;

    void MouseMove(MouseEvent const &) override { ++moves; }
    void MouseButtonDown(MouseEvent const &e) override
    {
        clicks += e.GetClicks();
        Invalidate();
    }
    bool KeyInput(KeyEvent const &e) override
    {
        ++keys;
        lastKey = e.GetKeyCode().GetName();
        Invalidate();
        return true;
    }
    void Paint(CRectangle const &) override
    {
        HDC dc = GetDC(GetHWND());
        Size sz = GetOutputSizePixel();
        RECT all{0, 0, sz.Width(), sz.Height()};
        HBRUSH body = CreateSolidBrush(m_body);
        FillRect(dc, &all, body);
        DeleteObject(body);
        RECT cap{0, 0, sz.Width(), 22};
        FillBand(dc, cap, RGB(70, 90, 150), RGB(110, 130, 190));
        HFONT f = MakeFont(14, FW_BOLD);
        HGDIOBJ old = SelectObject(dc, f);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutA(dc, 6, 3, m_title.GetStr(), m_title.Len());
        SetTextColor(dc, RGB(40, 44, 60));
        SelectObject(dc, old);
        DeleteObject(f);
        f = MakeFont(13, FW_NORMAL);
        old = SelectObject(dc, f);
        char line[160];
        std::snprintf(line, sizeof line, "routed: %d moves, %d clicks, %d keys", moves, clicks, keys);
        TextOutA(dc, 8, 32, line, int(std::strlen(line)));
        if (lastKey.Len()) {
            SString k = SString("last key: ") + lastKey;
            TextOutA(dc, 8, 50, k.GetStr(), k.Len());
        }
        SelectObject(dc, old);
        DeleteObject(f);
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(60, 70, 110));
        old = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, 0, 0, sz.Width(), sz.Height());
        SelectObject(dc, oldBrush);
        SelectObject(dc, old);
        DeleteObject(pen);
        ReleaseDC(GetHWND(), dc);
    }

private:
    SString m_title;
    COLORREF m_body;
};

class DemoFrame : public WorkWindow
{
public:
    DemoFrame() : WorkWindow(static_cast<CWnd *>(nullptr), 0x171) {}
    void Paint(CRectangle const &) override
    {
        HDC dc = GetDC(GetHWND());
        Size sz = GetOutputSizePixel();
        RECT all{0, 0, sz.Width(), sz.Height()};
        FillBand(dc, all, RGB(32, 48, 96), RGB(200, 210, 235));
        HFONT big = MakeFont(36, FW_BOLD);
        HGDIOBJ old = SelectObject(dc, big);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutA(dc, 24, 12, "Kestrel5", 8);
        SelectObject(dc, old);
        DeleteObject(big);
        HFONT small = MakeFont(14, FW_NORMAL);
        old = SelectObject(dc, small);
        SetTextColor(dc, RGB(230, 236, 255));
        SString info = SString("zlib ") + zlibVersion() + " inside Kestrel5.dll   |   " +
                       SString(int(GetPKSData()->m_nLogPixelsX)) + " dpi   |   windows routed by the library";
        TextOutA(dc, 26, 56, info.GetStr(), info.Len());
        SelectObject(dc, old);
        DeleteObject(small);
        ReleaseDC(GetHWND(), dc);
    }
};

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

// What the window shows, read back from its device context into a DIB and
// saved by GDI+ as PNG (GDI+ runs: KSInit started it).
bool SaveClientPng(HWND wnd, std::string const &file)
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
    HDC wdc = GetDC(wnd);
    HDC mem = CreateCompatibleDC(wdc);
    HBITMAP dib = CreateDIBSection(wdc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = mem && dib;
    if (ok) {
        HGDIOBJ old = SelectObject(mem, dib);
        ok = BitBlt(mem, 0, 0, rc.right, rc.bottom, wdc, 0, 0, SRCCOPY) != FALSE;
        SelectObject(mem, old);
    }
    ReleaseDC(wnd, wdc);
    if (ok) {
        std::wstring wfile(file.begin(), file.end());
        Gdiplus::Bitmap image(dib, nullptr);
        CLSID png;
        ok = EncoderClsid(L"image/png", &png) && image.Save(wfile.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    if (dib)
        DeleteObject(dib);
    if (mem)
        DeleteDC(mem);
    return ok;
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

int main(int argc, char **argv)
{
    std::string dir = argc > 1 ? argv[1] : ".";
    KSInit();
    bool saved = false;
    {
        DemoFrame frame;
        frame.SetText(SString("Kestrel5 demo"));
        frame.ChangeOutputSizePixel(Size(640, 400));
        frame.ChangePosPixel(Point(40, 40));
        DemoPane explorer(&frame, "Explorer", RGB(240, 244, 250));
        DemoPane editor(&frame, "Editor", RGB(255, 255, 255));
        DemoPane output(&frame, "Output", RGB(250, 246, 236));
        explorer.SetPosSizePixel(Point(24, 90), Size(180, 290));
        editor.SetPosSizePixel(Point(212, 90), Size(404, 180));
        output.SetPosSizePixel(Point(212, 278), Size(404, 102));
        frame.Show();
        explorer.Show();
        editor.Show();
        output.Show();

        // Input as the platform would deliver it, through the router.
        for (int i = 0; i < 25; ++i)
            SendMessageA(editor.GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(10 + i, 40));
        SendMessageA(editor.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
        SendMessageA(editor.GetHWND(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 40));
        SendMessageA(output.GetHWND(), WM_KEYDOWN, VK_F5, 1);
        SendMessageA(explorer.GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        frame.Invalidate();
        Pump();
        RedrawWindow(frame.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();

        std::string file = dir + "\\demo.png";
        saved = SaveClientPng(frame.GetHWND(), file);
        std::printf("demo: %s %s\n", saved ? "wrote" : "could not write", file.c_str());
    }
    KSExit();
    if (!saved)
        return 1;
    std::printf("demo: done\n");
    return 0;
}
