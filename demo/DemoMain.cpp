// The showcase application: a Kestrel5 program. It starts the library, builds
// a small window tree from the library's Window classes, lets the router
// deliver messages to them, and saves what the windows painted as PNG
// pictures into the folder named on the command line (default: the current
// folder).
#include <Kestrel5.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
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
    DemoPane(Window *parent, char const *title, COLORREF body, bool showStats = true)
        : Window(parent, 0, 0), m_title(title), m_body(body), m_showStats(showStats)
    {
        // The pane paints through a window DC: keep its children out of it.
        SetWindowLongA(GetHWND(), GWL_STYLE, GetWindowLongA(GetHWND(), GWL_STYLE) | WS_CLIPCHILDREN);
    }

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
        if (m_showStats)
            TextOutA(dc, 8, 32, line, int(std::strlen(line)));
        if (m_showStats && lastKey.Len()) {
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
    bool m_showStats;
};

// What the controls panel drives: the drawing in the editor pane.
struct Showcase
{
    int size = 40;        // the scroll bar
    int theme = 0;        // the radio buttons: 0 blue, 1 green, 2 amber
    bool filled = true;   // the check box
    int shapes = 1;       // the push button adds one
    int linkClicks = 0;
};
Showcase g_show;

COLORREF ThemeColour(int theme)
{
    static COLORREF const colours[] = {RGB(70, 110, 200), RGB(60, 160, 90), RGB(220, 150, 40)};
    return colours[theme % 3];
}

// The drawing the controls drive: circles in the theme colour.
class CanvasPane : public DemoPane
{
public:
    using DemoPane::DemoPane;
    void Paint(CRectangle const &r) override
    {
        DemoPane::Paint(r);
        HDC dc = GetDC(GetHWND());
        HBRUSH fill = CreateSolidBrush(ThemeColour(g_show.theme));
        HPEN pen = CreatePen(PS_SOLID, 2, ThemeColour(g_show.theme));
        HGDIOBJ oldB = SelectObject(dc, g_show.filled ? fill : GetStockObject(NULL_BRUSH));
        HGDIOBJ oldP = SelectObject(dc, pen);
        for (int i = 0; i < g_show.shapes; ++i) {
            int x = 24 + i * (g_show.size + 12), y = 76;
            Ellipse(dc, x, y, x + g_show.size, y + g_show.size);
        }
        SelectObject(dc, oldB);
        SelectObject(dc, oldP);
        DeleteObject(fill);
        DeleteObject(pen);
        ReleaseDC(GetHWND(), dc);
    }
};

// The panel of controls: each one changes the showcase and repaints.
class ControlsPane : public DemoPane
{
public:
    ControlsPane(Window *parent, Window *canvas)
        : DemoPane(parent, "Controls", RGB(236, 240, 248), false), m_canvas(canvas), m_heading(this, 0), m_add(this, 0),
          m_filled(this, 0), m_blue(this, 0x20), m_green(this, 0), m_amber(this, 0), m_size(this, 0),
          m_sizeLabel(this, 0), m_link(this, 0)
    {
        m_heading.SetText(SString("Shapes"));
        m_heading.SetPosSizePixel(Point(10, 30), Size(170, 20));
        m_add.SetText(SString("Add a shape"));
        m_add.SetPosSizePixel(Point(10, 56), Size(120, 26));
        m_add.ChangeClickHdl(Link(this, &ControlsPane::OnAdd));
        m_filled.SetText(SString("Filled"));
        m_filled.SetPosSizePixel(Point(10, 90), Size(120, 20));
        m_filled.SetCheck(true);
        m_filled.ChangeClickHdl(Link(this, &ControlsPane::OnFilled));
        char const *names[] = {"Blue", "Green", "Amber"};
        RadioButton *radios[] = {&m_blue, &m_green, &m_amber};
        for (int i = 0; i < 3; ++i) {
            radios[i]->SetText(SString(names[i]));
            radios[i]->SetPosSizePixel(Point(10, 118 + 22 * i), Size(120, 20));
            radios[i]->ChangeClickHdl(Link(this, &ControlsPane::OnTheme));
        }
        m_blue.Check(true);
        m_sizeLabel.SetText(SString("Size"));
        m_sizeLabel.SetPosSizePixel(Point(10, 190), Size(60, 20));
        m_size.SetPosSizePixel(Point(10, 212), Size(160, 18));
        m_size.ChangeRange(Range(10, 70));
        m_size.ChangeLineSize(5);
        m_size.ChangePageSize(15);
        m_size.ChangeThumbPos(g_show.size);
        m_size.ChangeScrollHdl(Link(this, &ControlsPane::OnSize));
        m_link.SetText(SString("About Kestrel5"));
        m_link.SetPosSizePixel(Point(10, 244), Size(150, 20));
        m_link.SetLink(Link(this, &ControlsPane::OnLink));
        for (Window *w : std::initializer_list<Window *>{&m_heading, &m_add, &m_filled, &m_blue, &m_green, &m_amber,
                                                         &m_sizeLabel, &m_size, &m_link})
            w->Show();
    }

    PushButton &AddButton() { return m_add; }
    CheckBox &FilledBox() { return m_filled; }
    RadioButton &AmberRadio() { return m_amber; }
    ScrollBar &SizeBar() { return m_size; }
    FixedLinkText &AboutLink() { return m_link; }

private:
    __int64 OnAdd(void *)
    {
        ++g_show.shapes;
        m_canvas->Invalidate();
        return 0;
    }
    __int64 OnFilled(void *)
    {
        g_show.filled = m_filled.GetCheck();
        m_canvas->Invalidate();
        return 0;
    }
    __int64 OnTheme(void *p)
    {
        g_show.theme = p == &m_amber ? 2 : p == &m_green ? 1 : 0;
        m_canvas->Invalidate();
        return 0;
    }
    __int64 OnSize(void *)
    {
        g_show.size = m_size.GetThumbPos();
        m_canvas->Invalidate();
        return 0;
    }
    __int64 OnLink(void *)
    {
        ++g_show.linkClicks;
        return 0;
    }

    Window *m_canvas;
    FixedText m_heading;
    PushButton m_add;
    CheckBox m_filled;
    RadioButton m_blue, m_green, m_amber;
    ScrollBar m_size;
    FixedText m_sizeLabel;
    FixedLinkText m_link;
};

class DemoFrame : public WorkWindow
{
public:
    DemoFrame() : WorkWindow(static_cast<CWnd *>(nullptr), 0x171)
    {
        SetWindowLongA(GetHWND(), GWL_STYLE, GetWindowLongA(GetHWND(), GWL_STYLE) | WS_CLIPCHILDREN);
    }
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
        frame.ChangeOutputSizePixel(Size(720, 440));
        frame.ChangePosPixel(Point(40, 40));
        CanvasPane canvas(&frame, "Canvas", RGB(255, 255, 255));
        DemoPane output(&frame, "Output", RGB(250, 246, 236));
        ControlsPane controls(&frame, &canvas);
        controls.SetPosSizePixel(Point(24, 90), Size(190, 330));
        canvas.SetPosSizePixel(Point(222, 90), Size(474, 210));
        output.SetPosSizePixel(Point(222, 308), Size(474, 112));
        frame.Show();
        controls.Show();
        canvas.Show();
        output.Show();
        Pump();

        // Input as the platform would deliver it, through the router: two
        // clicks on the button, a click on "Amber", three page steps on the
        // scroll bar, a click on the link, mouse moves and a key.
        auto click = [](Window &w) {
            SendMessageA(w.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
            SendMessageA(w.GetHWND(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        };
        click(controls.AddButton());
        click(controls.AddButton());
        click(controls.AmberRadio());
        for (int i = 0; i < 3; ++i)
            SendMessageA(controls.GetHWND(), WM_HSCROLL, SB_PAGEDOWN,
                         reinterpret_cast<LPARAM>(controls.SizeBar().GetHWND()));
        SendMessageA(controls.GetHWND(), WM_HSCROLL, SB_ENDSCROLL,
                     reinterpret_cast<LPARAM>(controls.SizeBar().GetHWND()));
        click(controls.AboutLink());
        for (int i = 0; i < 25; ++i)
            SendMessageA(canvas.GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(10 + i, 40));
        SendMessageA(output.GetHWND(), WM_KEYDOWN, VK_F5, 1);
        Pump();
        RedrawWindow(frame.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        std::printf("demo: %d shapes of size %d, theme %d, link clicked %d time(s)\n", g_show.shapes, g_show.size,
                    g_show.theme, g_show.linkClicks);

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
