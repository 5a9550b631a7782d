// The showcase application: a Kestrel5 program. It starts the library, builds
// a small window tree from the library's Window classes, lets the router
// deliver messages to them, and saves what the windows painted as PNG
// pictures into the folder named on the command line (default: the current
// folder).
#include <Kestrel5.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>
#include <gdiplus.h>
#include <zlib.h>

namespace {

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
    // Through the pane's own output device: body, caption, texts, border.
    void Paint(CRectangle const &) override
    {
        Size sz = GetOutputSizePixel();
        if (m_gradient) {
            // Direct2D: the body as a vertical gradient.
            ColorPair shades(Color(static_cast<unsigned long>(m_body)), Color(0xC8D8E8ul));
            DrawGradient(shades);
        } else {
            Erase(Color(static_cast<unsigned long>(m_body)), CRectangle(Point(0, 0), sz));
        }
        Erase(Color(0x96705Aul), CRectangle(Point(0, 0), Size(sz.Width(), 22)));
        Font caption(SString("Tahoma"), 14);
        caption.ChangeWeight(FW_BOLD);
        caption.ChangeColor(Color(0xFFFFFFul));
        ChangeFont(caption);
        DrawTextA(Point(6, 3), m_title);
        if (m_showStats) {
            Font body(SString("Tahoma"), 13);
            body.ChangeColor(Color(0x3C2C28ul));
            ChangeFont(body);
            char line[160];
            std::snprintf(line, sizeof line, "routed: %d moves, %d clicks, %d keys", moves, clicks, keys);
            DrawTextA(Point(8, 30), SString(line));
            if (lastKey.Len())
                DrawTextA(Point(8, 48), SString("last key: ") + lastKey);
        }
        ChangePen(Pen(Color(0x6E463Cul), 1, PS_SOLID));
        ChangeFillInBrush(Brush(Color(0ul), BrushStyleNull));
        DrawRect(CRectangle(Point(0, 0), sz));
    }

private:
    SString m_title;
    COLORREF m_body;
    bool m_showStats;

public:
    bool m_gradient = false;
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
    int phase = 0; // advanced by the animation timer
    __int64 Tick(void *)
    {
        ++phase;
        Invalidate();
        return 0;
    }

    // GDI circles for the shapes, GDI+ translucent ones orbiting over them.
    void Paint(CRectangle const &r) override
    {
        DemoPane::Paint(r);
        Color const theme(static_cast<unsigned long>(ThemeColour(g_show.theme)));
        ChangePen(Pen(theme, 2, PS_SOLID));
        ChangeFillInBrush(g_show.filled ? Brush(theme, BrushStyleSolid) : Brush(theme, BrushStyleNull));
        for (int i = 0; i < g_show.shapes; ++i) {
            int x = 24 + i * (g_show.size + 12), y = 76;
            DrawEllipse(CRectangle(Point(x, y), Size(g_show.size, g_show.size)));
        }
        double const cx = 360, cy = 120, radius = 44;
        for (int k = 0; k < 3; ++k) {
            double const a = (phase * 6 + k * 120) * 3.14159265358979 / 180.0;
            double const x = cx + radius * std::cos(a), y = cy + radius * std::sin(a);
            DrawEllipseHQ(FRectangle(x - 18, y - 18, x + 18, y + 18),
                          TransparentColor(Color(static_cast<unsigned long>(ThemeColour(k))), 60));
        }
        DrawTextHQ(FPoint(318, 176), SString("GDI+ over GDI"), 80);

        // A sunken well whose letters cast a soft shadow: the text's own
        // shapes (every pixel not of the well's colour) make the shadow.
        CRectangle const well(Point(24, 156), Size(196, 44));
        Color const wellColour(0xF2F2F2ul);
        Erase(wellColour, well);
        Font heading(SString("Tahoma"), 24);
        heading.ChangeWeight(FW_BOLD);
        heading.ChangeColor(theme);
        ChangeFont(heading);
        DrawTextA(Point(40, 163), SString("Effects"));
        BlurShadowEffect(CRectangle(Point(30, 160), Size(184, 36)), wellColour, 2, 1.5,
                         TransparentColor(Color(0ul), 55));
        InsetShadow(well, 3, 2.0, TransparentColor(Color(0ul), 45));

        // A card with a soft Direct2D shadow beneath it.
        CRectangle const card(Point(430, 56), Size(28, 120));
        ChangePen(Pen(Color(0x6E463Cul), 1, PS_SOLID));
        ChangeFillInBrush(Brush(Color(0xFFFFFFul), BrushStyleSolid));
        DrawRect(card);
        ShadowEffect(card, 6, 3.0, Color(0x505050ul));
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

// A docked pane's content: a calm body with a line of text. The pane's
// caption, buttons and border are the docking engine's.
class NotePane : public Window
{
public:
    NotePane(Window *host, char const *title, COLORREF body, char const *text)
        : Window(host, 0, 0x400000), m_body(body), m_text(text)
    {
        Pane()->SetWindowText(title);
        Pane()->SetInternalName(SString(title));
    }
    ZnDockablePane *Pane() const { return static_cast<ZnDockablePane *>(GetPCWnd()); }
    void Paint(CRectangle const &) override
    {
        Size sz = GetOutputSizePixel();
        Erase(Color(static_cast<unsigned long>(m_body)), CRectangle(Point(0, 0), sz));
        Font f(SString("Tahoma"), 13);
        f.ChangeColor(Color(0x404040ul));
        ChangeFont(f);
        DrawTextA(Point(8, 6), m_text);
    }

private:
    COLORREF m_body;
    SString m_text;
};

// The drag-and-drop scene: a pane whose text is dragged when pressed, and
// panes that show what a drop brought them.
class DragTextPane : public DemoPane
{
public:
    DragTextPane(Window *parent, char const *title, char const *text)
        : DemoPane(parent, title, RGB(236, 244, 252), false), m_text(text)
    {
    }
    std::atomic<bool> dragging{false}, dragged{false};
    unsigned long result = 0xFFFF;
    void MouseButtonDown(MouseEvent const &) override
    {
        dragging = true;
        result = ExecuteDrag(StringDropData(m_text, DROPEFFECT_COPY));
        dragging = false;
        dragged = true;
    }
    void Paint(CRectangle const &r) override
    {
        DemoPane::Paint(r);
        Font f(SString("Tahoma"), 15);
        f.ChangeColor(Color(0x8C4A1Eul));
        ChangeFont(f);
        DrawTextA(Point(12, 40), SString("\"") + m_text + SString("\""));
        Font hint(SString("Tahoma"), 12);
        hint.ChangeColor(Color(0x606060ul));
        ChangeFont(hint);
        DrawTextA(Point(12, 70), SString("press and drag onto a pane"));
    }

private:
    SString m_text;
};

class DropPane : public DemoPane
{
public:
    DropPane(Window *parent, char const *title, COLORREF body, bool accept)
        : DemoPane(parent, title, body, false), m_accept(accept)
    {
    }
    std::atomic<int> queries{0};
    int drops = 0;
    SString received;
    Point at{-1, -1};
    unsigned long QueryDrop(DropEvent const &e) override
    {
        ++queries;
        return m_accept && e.HasClipboardFormat(CF_TEXT) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    bool Drop(DropEvent const &e) override
    {
        StringDropData text;
        if (!e.FillDropData(text))
            return false;
        ++drops;
        received = text.GetString();
        at = e.GetPosPixel();
        Invalidate();
        return true;
    }
    void Paint(CRectangle const &r) override
    {
        DemoPane::Paint(r);
        Font f(SString("Tahoma"), 13);
        f.ChangeColor(Color(0x3C2C28ul));
        ChangeFont(f);
        char line[120];
        std::snprintf(line, sizeof line, "asked %d time(s), %d drop(s)", queries.load(), drops);
        DrawTextA(Point(10, 30), SString(line));
        if (!m_accept)
            DrawTextA(Point(10, 50), SString("refuses every drop"));
        if (drops) {
            DrawTextA(Point(10, 50), SString("received:"));
            Font got(SString("Tahoma"), 15);
            got.ChangeColor(Color(0x1E6E28ul));
            ChangeFont(got);
            DrawTextA(Point(10, 70), received);
            // Where the drop landed.
            ChangePen(Pen(Color(0x2828C8ul), 2, PS_SOLID));
            DrawLine(Point(at.X() - 8, at.Y()), Point(at.X() + 8, at.Y()));
            DrawLine(Point(at.X(), at.Y() - 8), Point(at.X(), at.Y() + 8));
        }
    }

private:
    bool m_accept;
};

// The content of the main frame: a heading over a vertical shade, drawn
// through its output device.
class DemoContent : public Window
{
public:
    explicit DemoContent(CWnd *frame) : Window(frame, 0, 0)
    {
        SetWindowLongA(GetHWND(), GWL_STYLE, GetWindowLongA(GetHWND(), GWL_STYLE) | WS_CLIPCHILDREN);
    }
    void Paint(CRectangle const &) override
    {
        Size sz = GetOutputSizePixel();
        for (int y = 0; y < sz.Height(); y += 2) {
            int const t = sz.Height() > 1 ? y * 255 / (sz.Height() - 1) : 0;
            Color shade(static_cast<unsigned long>(RGB(32 + (200 - 32) * t / 255, 48 + (210 - 48) * t / 255,
                                                       96 + (235 - 96) * t / 255)));
            Erase(shade, CRectangle(Point(0, y), Size(sz.Width(), 2)));
        }
        Font big(SString("Tahoma"), 36);
        big.ChangeWeight(FW_BOLD);
        big.ChangeColor(Color(0xFFFFFFul));
        ChangeFont(big);
        DrawTextA(Point(24, 12), SString("Kestrel5"));
        Font small(SString("Tahoma"), 14);
        small.ChangeColor(Color(0xFFECE6ul));
        ChangeFont(small);
        SString info = SString("zlib ") + zlibVersion() + " inside Kestrel5.dll   |   " +
                       SString(int(GetPKSData()->m_nLogPixelsX)) + " dpi   |   windows routed by the library";
        DrawTextA(Point(26, 56), info);
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

bool SavePng(HDC source, RECT const &area, std::string const &file, HWND popup = nullptr);

// What the window shows, read back from its device context into a DIB and
// saved by GDI+ as PNG (GDI+ runs: KSInit started it).
bool SaveClientPng(HWND wnd, std::string const &file)
{
    RECT rc;
    GetClientRect(wnd, &rc);
    HDC wdc = GetDC(wnd);
    bool const ok = SavePng(wdc, rc, file);
    ReleaseDC(wnd, wdc);
    return ok;
}

// A part of a window's client area (area in its client coordinates) with a
// pop-up drawn over it where it stands on the screen: pop-ups such as tool
// tips are windows of their own and show in no other window's context.
bool SaveClientWithPopupPng(HWND wnd, RECT const &area, HWND popup, std::string const &file)
{
    HDC wdc = GetDC(wnd);
    bool const ok = SavePng(wdc, area, file, popup);
    ReleaseDC(wnd, wdc);
    return ok;
}

// A window's client area with top-level windows (floating frames) drawn
// over it where they stand, each in full, frame and caption too.
bool SaveClientWithFramesPng(HWND wnd, std::vector<HWND> const &frames, std::string const &file)
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
        for (HWND f : frames) {
            RECT r;
            GetWindowRect(f, &r);
            POINT at{r.left, r.top};
            ScreenToClient(wnd, &at);
            HDC fdc = GetWindowDC(f);
            ok = ok && BitBlt(mem, at.x, at.y, r.right - r.left, r.bottom - r.top, fdc, 0, 0, SRCCOPY) != FALSE;
            ReleaseDC(f, fdc);
        }
        SelectObject(mem, old);
    }
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
    ReleaseDC(wnd, wdc);
    return ok;
}

bool SavePng(HDC source, RECT const &area, std::string const &file, HWND popup)
{
    RECT const rc{0, 0, area.right - area.left, area.bottom - area.top};
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = rc.right;
    bi.bmiHeader.biHeight = -rc.bottom;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC mem = CreateCompatibleDC(source);
    HBITMAP dib = CreateDIBSection(source, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = mem && dib;
    if (ok) {
        HGDIOBJ old = SelectObject(mem, dib);
        ok = BitBlt(mem, 0, 0, rc.right, rc.bottom, source, area.left, area.top, SRCCOPY) != FALSE;
        if (ok && popup) {
            // area is in the client coordinates of the source's window.
            RECT r;
            GetWindowRect(popup, &r);
            POINT at{r.left, r.top};
            ScreenToClient(WindowFromDC(source), &at);
            HDC pdc = GetWindowDC(popup);
            ok = BitBlt(mem, at.x - area.left, at.y - area.top, r.right - r.left, r.bottom - r.top, pdc, 0, 0,
                        SRCCOPY) != FALSE;
            ReleaseDC(popup, pdc);
        }
        SelectObject(mem, old);
    }
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

void PumpFor(DWORD ms)
{
    DWORD const end = GetTickCount() + ms;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Images made for the gallery: a round badge with a soft edge (a GDI+ image
// with transparency), and a small tile for backgrounds.
Bitmap Badge(int side, Gdiplus::Color fill)
{
    Gdiplus::Bitmap image(side, side, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&image);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        g.Clear(Gdiplus::Color(0, 0, 0, 0));
        Gdiplus::SolidBrush b(fill);
        g.FillEllipse(&b, 1, 1, side - 3, side - 3);
        Gdiplus::SolidBrush shine(Gdiplus::Color(110, 255, 255, 255));
        g.FillEllipse(&shine, side / 4, side / 6, side / 2, side / 3);
    }
    return Bitmap(&image);
}

Bitmap Tile()
{
    Gdiplus::Bitmap image(24, 24, PixelFormat32bppARGB);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            bool const dark = (x / 12 + y / 12) % 2 != 0;
            int const v = (dark ? 226 : 240) - (x + y) / 6;
            image.SetPixel(x, y, Gdiplus::Color(255, BYTE(v), BYTE(v + 4), BYTE(v + 12)));
        }
    return Bitmap(&image);
}

// A small opaque picture of coloured bands, to be stretched smooth.
Bitmap Bands()
{
    Gdiplus::Bitmap image(8, 4, PixelFormat32bppARGB);
    Gdiplus::Color const c[4] = {{255, 250, 200, 90}, {255, 240, 120, 80}, {255, 150, 70, 140}, {255, 50, 60, 120}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            image.SetPixel(x, y, x % 3 == 0 && y == 3 ? Gdiplus::Color(255, 30, 30, 40) : c[y]);
    return Bitmap(&image);
}

// The gallery: a window whose background is a tiled bitmap, with pictures
// drawn on it in every way the device offers, and bitmap controls.
class Gallery : public Window
{
public:
    explicit Gallery(Window *parent) : Window(parent, 0, 0), m_badge(Badge(48, Gdiplus::Color(255, 40, 120, 200)))
    {
        SetWindowLongA(GetHWND(), GWL_STYLE, GetWindowLongA(GetHWND(), GWL_STYLE) | WS_CLIPCHILDREN);
        ChangeBackgroundBitmap(Tile());
    }
    void Paint(CRectangle const &) override
    {
        Font f(SString("Tahoma"), 14);
        f.ChangeColor(Color(0x303030ul));
        ChangeFont(f);
        DrawTextA(Point(16, 8), SString("Bitmaps: plain, stretched, faded, scaled, keyed, tiled"));
        DrawBitmap(Point(16, 36), m_badge);
        DrawBitmap(Point(76, 36), Size(96, 48), m_badge);
        DrawBitmapHQ(FPoint(184.5, 36), m_badge, 110);
        DrawBitmapScaled(CRectangle(244, 36, 323, 83), m_badge);
        // The badge flattened onto magenta, then drawn with magenta left out.
        DrawBitmapTransparent(Point(336, 36), Bitmap(static_cast<HBITMAP>(m_badge)));
        Erase(GetBitmap(Point(16, 36), Size(48, 48)), CRectangle(400, 36, 700, 83), 8, 8);
    }

private:
    Bitmap m_badge;
};

// Formats and gradients: one number, amount, date and time as four
// countries write them, on a gradient background with gradient swatches.
Color Rgb(int r, int g, int b)
{
    return Color(static_cast<unsigned long>(r | g << 8 | b << 16));
}

class FormatsBoard : public Window
{
public:
    explicit FormatsBoard(Window *parent) : Window(parent, 0, 0)
    {
        ChangeBackgroundGradient(VerticalGradient(ColorPair(Rgb(226, 236, 252), Rgb(255, 255, 255))));
    }
    void Paint(CRectangle const &) override
    {
        Font title(SString("Tahoma"), 14);
        title.ChangeColor(Rgb(40, 40, 40));
        ChangeFont(title);
        DrawTextA(Point(16, 10), SString("Gradients: horizontal, diagonal, centre point; formats of four countries"));
        Erase(HorizontalGradient(ColorPair(Rgb(30, 90, 190), Rgb(190, 220, 255))), CRectangle(16, 40, 215, 99));
        Erase(DiagonalGradient(ColorPair(Rgb(240, 160, 40), Rgb(120, 30, 90))), CRectangle(232, 40, 431, 99));
        CenterPointGradient spot(ColorPair(Rgb(30, 100, 60), Rgb(30, 100, 60)), Rgb(200, 255, 200));
        DrawEllipse(CRectangle(448, 40, 647, 99), spot);

        struct Row
        {
            char const *name;
            CountryType country;
            LanguageType language;
        };
        Row const rows[] = {{"USA", CountryUSA, LanguageEnglishUS},
                            {"United Kingdom", CountryUnitedKingdom, LanguageEnglishUK},
                            {"Germany", CountryGermany, LanguageGerman},
                            {"France", CountryFrance, LanguageFrench}};
        Date const day(4, 7, 2024);
        Time const time(13, 5, 9, 0);
        Font text(SString("Tahoma"), 13);
        text.ChangeColor(Rgb(20, 30, 60));
        ChangeFont(text);
        int const x[] = {16, 130, 240, 340, 430, 620};
        char const *const heads[] = {"Country", "Number", "Amount", "Date", "Long date", "Time"};
        int y = 124;
        for (int c = 0; c < 6; ++c)
            DrawTextA(Point(x[c], y), SString(heads[c]));
        for (Row const &row : rows) {
            y += 30;
            International const intl(row.country, row.language);
            SString const cells[] = {SString(row.name),     intl.GetNum(123456789, 2), intl.GetCurr(-123450),
                                     intl.GetDate(day),     intl.GetLongDate(day),     intl.GetTime(time, 1, 0)};
            for (int c = 0; c < 6; ++c)
                DrawTextA(Point(x[c], y), cells[c]);
        }
    }
};

// Frames and shadows: six cards, each a child window that its parent board
// decorates with one kind of frame as the board paints.
class FramesBoard : public Window
{
public:
    explicit FramesBoard(Window *parent) : Window(parent, 0, 0)
    {
        ChangeBackgroundTexture(Texture(Rgb(236, 240, 246)));
        m_frames.push_back(std::make_unique<WindowFrame>(this, 2, 3));
        m_frames.back()->SetColor(Rgb(40, 90, 170));
        m_frames.push_back(std::make_unique<WindowFrame3D>(this, 6, 2, false));
        m_frames.push_back(std::make_unique<WindowFrame3D>(this, 6, 2, true));
        auto round = std::make_unique<WindowFrame3DRound>(this, 8, 1, false);
        round->SetLightPen(Pen(Rgb(250, 230, 180), 1, PS_SOLID));
        round->SetDarkPen(Pen(Rgb(150, 90, 20), 1, PS_SOLID));
        m_frames.push_back(std::move(round));
        m_frames.push_back(std::make_unique<WindowShadow>(this, 6, 0));
        m_frames.push_back(std::make_unique<WindowBlurShadow>(this));
        char const *const names[] = {"Line frame", "Raised 3D",         "Sunken 3D",
                                     "Rounded 3D", "Stepped shadow", "Blurred shadow"};
        for (int i = 0; i < 6; ++i) {
            m_cards.push_back(std::make_unique<Card>(this, names[i]));
            m_frames[size_t(i)]->PlaceWindow(m_cards.back().get(), Point(24 + (i % 3) * 232, 56 + (i / 3) * 180),
                                             Size(200, 140));
            m_cards.back()->Show();
        }
    }
    void Paint(CRectangle const &) override
    {
        Font title(SString("Tahoma"), 14);
        title.ChangeColor(Rgb(40, 40, 40));
        ChangeFont(title);
        DrawTextA(Point(24, 16), SString("Window frames and shadows drawn by the parent around its child windows"));
        for (auto &f : m_frames)
            f->Draw();
    }

private:
    class Card : public Window
    {
    public:
        Card(Window *parent, char const *name) : Window(parent, 0, 0), m_name(name)
        {
            ChangeBackgroundGradient(VerticalGradient(ColorPair(Rgb(255, 255, 255), Rgb(214, 226, 244))));
        }
        void Paint(CRectangle const &) override
        {
            Font f(SString("Tahoma"), 13);
            f.ChangeColor(Rgb(20, 30, 60));
            ChangeFont(f);
            DrawTextA(Point(12, 10), m_name);
        }

    private:
        SString m_name;
    };
    std::vector<std::unique_ptr<WindowFrame>> m_frames;
    std::vector<std::unique_ptr<Card>> m_cards;
};

// Frames of a small spinner: a ring of dots, one of them lit, turning.
std::vector<Bitmap> SpinnerFrames()
{
    std::vector<Bitmap> frames;
    for (int f = 0; f < 8; ++f) {
        Gdiplus::Bitmap image(40, 40, PixelFormat32bppARGB);
        Gdiplus::Graphics g(&image);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        g.Clear(Gdiplus::Color(255, 255, 255, 255));
        for (int d = 0; d < 8; ++d) {
            double const a = d * 3.14159265 / 4;
            bool const lit = d == f;
            Gdiplus::SolidBrush b(lit ? Gdiplus::Color(255, 230, 90, 30) : Gdiplus::Color(255, 0, 0, 255));
            float const r = lit ? 5.0f : 3.5f;
            g.FillEllipse(&b, float(20 + 13 * std::cos(a) - r), float(20 + 13 * std::sin(a) - r), 2 * r, 2 * r);
        }
        frames.push_back(Bitmap(&image));
    }
    return frames;
}

// A list over a million rows that the application sorts itself: a header
// click turns the order and shows the arrow; the size column is custom-drawn
// as a bar.
class FileList : public ListControl
{
public:
    explicit FileList(Window *parent) : ListControl(parent, 0)
    {
        SetDrawListItemHdl(Link(this, &FileList::Fill));
        SetCustomDrawCells(true);
    }
    int Row(int item) const { return m_bAscending ? item : 999999 - item; }
    __int64 Fill(void *p)
    {
        auto &d = *static_cast<ListItemCallBackData *>(p);
        int const row = Row(d.nItem);
        char buf[64];
        if (d.nSubItem == 0)
            std::snprintf(buf, sizeof buf, "Picture %06d.png", row);
        else if (d.nSubItem == 1)
            std::snprintf(buf, sizeof buf, "%d kB", KB(row));
        else
            std::snprintf(buf, sizeof buf, "%s", row % 3 == 0 ? "Photo" : row % 3 == 1 ? "Drawing" : "Icon");
        d.aText = SString(buf);
        d.nImage = row % 3;
        return 0;
    }
    static int KB(int row) { return int((row * 7919LL) % 900) + 20; }
    void OnColumnClick(int column) override
    {
        m_bAscending = !m_bAscending;
        OnSorted(column, m_bAscending);
        RedrawVisibleItems();
    }
    bool OnCustomDrawCell(HDC dc, int item, int sub, CRectangle const &r, Color const &, bool selected) const override
    {
        if (sub != 1 || selected)
            return false;
        RECT all{r.Left(), r.Top(), r.Right() + 1, r.Bottom() + 1};
        FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
        RECT bar = all;
        InflateRect(&bar, -3, -3);
        bar.right = bar.left + (bar.right - bar.left) * KB(Row(item)) / 920;
        HBRUSH b = CreateSolidBrush(RGB(150, 190, 235));
        FillRect(dc, &bar, b);
        DeleteObject(b);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%d kB", KB(Row(item)));
        SetBkMode(dc, TRANSPARENT);
        RECT text = all;
        text.left += 6;
        ::DrawTextA(dc, buf, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        return true;
    }
    bool m_bAscending = true;
};

// The project tree of the tree scene: the tree holds no texts or images, it
// asks this model for them; a folder's children are inserted when it opens
// and deleted when it closes.
class ProjectTree : public TreeControlData
{
public:
    ProjectTree()
    {
        int const root = Add("Kestrel5", -1);
        int const docs = Add("docs", root);
        Add("conventions.md", docs);
        Add("platform.md", docs);
        int const controls = Add("controls", root);
        for (char const *f : {"ListControl.cpp", "TreeControl.cpp", "TreeControlData.cpp", "ZnTreeCtrl.cpp"})
            Add(f, controls);
        int const window = Add("window", root);
        Add("Window.cpp", window);
        int const graphics = Add("graphics", root);
        Add("Bitmap.cpp", graphics);
        Add("README.md", root);
        int const tests = Add("tests", -1);
        int const t = Add("controls", tests);
        Add("TreeControlTest.cpp", t);
    }
    void Attach(ZnTreeCtrl *) override
    {
        m_of.clear();
        for (int r : m_roots)
            m_of[InsertNode(nullptr, nullptr)] = r;
    }
    void Expand(HTREEITEM h) override
    {
        auto i = m_of.find(h);
        if (i != m_of.end())
            for (int k : m_nodes[size_t(i->second)].kids)
                m_of[InsertNode(h, nullptr)] = k;
    }
    void Collapse(HTREEITEM h) override
    {
        if (!m_pTreeCtrl)
            return;
        for (HTREEITEM c = m_pTreeCtrl->GetChildItem(h); c; c = m_pTreeCtrl->GetNextSiblingItem(c))
            m_of.erase(c);
        m_pTreeCtrl->DeleteAllChildren(h);
    }
    SString GetText(HTREEITEM h) override { return SString(Node(h) ? Node(h)->name : ""); }
    int HasChildren(HTREEITEM h) override { return Node(h) && !Node(h)->kids.empty(); }
    // Folders closed and open, files plain and chosen.
    int GetImageInx(HTREEITEM h) override { return HasChildren(h) ? 0 : 2; }
    int GetSelectedImageInx(HTREEITEM h) override { return HasChildren(h) ? 1 : 3; }
    HTREEITEM Find(char const *name) const
    {
        for (auto const &[h, n] : m_of)
            if (std::strcmp(m_nodes[size_t(n)].name, name) == 0)
                return h;
        return nullptr;
    }

private:
    struct Entry
    {
        char const *name;
        std::vector<int> kids;
    };
    int Add(char const *name, int parent)
    {
        m_nodes.push_back({name, {}});
        int const id = int(m_nodes.size()) - 1;
        (parent < 0 ? m_roots : m_nodes[size_t(parent)].kids).push_back(id);
        return id;
    }
    Entry const *Node(HTREEITEM h) const
    {
        auto i = m_of.find(h);
        return i == m_of.end() ? nullptr : &m_nodes[size_t(i->second)];
    }
    std::vector<Entry> m_nodes;
    std::vector<int> m_roots;
    std::map<HTREEITEM, int> m_of;
};

// One page on the default printer: the showcase's shapes at their printed
// size, laid out in points, so the page looks the same at any resolution.
// Answers the pages printed (0 without a printer).
int PrintSummary()
{
    Printer p;
    if (p.GetPrinterName().Len() == 0 || !p.StartJob(SString("Kestrel5 demo")) || !p.StartPage())
        return 0;
    Font title(SString("Tahoma"), p.GetHeightPixel(28));
    title.ChangeWeight(FW_BOLD);
    title.ChangeColor(Color(0x96705Aul));
    p.ChangeFont(title);
    p.DrawTextA(p.GetPointPixel(Point(72, 72)), SString("Kestrel5"));
    Font body(SString("Tahoma"), p.GetHeightPixel(11));
    p.ChangeFont(body);
    char line[200];
    std::snprintf(line, sizeof line, "Printed on %s: %d x %d pixels at %d dpi; %d shapes of %d points.",
                  p.GetPrinterName().GetStr(), p.GetCap(PrinterCapHorzRes), p.GetCap(PrinterCapVertRes),
                  p.GetCap(PrinterCapLogPixelsX), g_show.shapes, g_show.size);
    p.DrawTextA(p.GetPointPixel(Point(72, 112)), SString(line));
    Color const theme(static_cast<unsigned long>(ThemeColour(g_show.theme)));
    p.ChangePen(Pen(theme, p.GetWidthPixel(2), PS_SOLID));
    p.ChangeFillInBrush(g_show.filled ? Brush(theme, BrushStyleSolid) : Brush(theme, BrushStyleNull));
    for (int i = 0; i < g_show.shapes; ++i)
        p.DrawEllipse(CRectangle(p.GetPointPixel(Point(72 + i * (g_show.size + 12), 140)),
                                 p.GetSizePixel(Size(g_show.size, g_show.size))));
    p.ChangePen(Pen(Color(0x6E463Cul), p.GetWidthPixel(1), PS_SOLID));
    p.ChangeFillInBrush(Brush(Color(0ul), BrushStyleNull));
    p.DrawRect(CRectangle(p.GetPointPixel(Point(60, 60)), p.GetSizePixel(Size(475, 140 + g_show.size + 24 - 60))));
    bool const ok = p.EndPage() && p.EndJob();
    return ok ? int(p.GetPageCount()) : 0;
}

int main(int argc, char **argv)
{
    std::string dir = argc > 1 ? argv[1] : ".";
    KSInit();
    // The application's main frame, known to the library.
    auto *mainFrame = new CFrameWnd;
    RECT outer{0, 0, 720, 440};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    RECT const place{40, 40, 40 + outer.right - outer.left, 40 + outer.bottom - outer.top};
    if (!mainFrame->Create(nullptr, "Kestrel5 demo", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place)) {
        std::printf("demo: no main frame\n");
        return 1;
    }
    SetKSMainFrame(mainFrame, GetModuleHandleA(nullptr));
    bool saved = false;
    {
        DemoContent content(mainFrame);
        content.SetPosSizePixel(Point(0, 0), Size(720, 440));
        CanvasPane canvas(&content, "Canvas", RGB(255, 255, 255));
        DemoPane output(&content, "Output", RGB(250, 246, 236));
        output.m_gradient = true;
        ControlsPane controls(&content, &canvas);
        controls.SetPosSizePixel(Point(24, 90), Size(190, 330));
        canvas.SetPosSizePixel(Point(222, 90), Size(474, 210));
        output.SetPosSizePixel(Point(222, 308), Size(474, 112));
        mainFrame->ShowWindow(SW_SHOW);
        content.Show();
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

        // The orbit turns on one of the library's timers.
        AutoTimer animation;
        animation.Start(Link(&canvas, &CanvasPane::Tick), 30);
        PumpFor(600);
        RedrawWindow(content.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        std::printf("demo: %d shapes of size %d, theme %d, link clicked %d time(s), %d animation steps\n",
                    g_show.shapes, g_show.size, g_show.theme, g_show.linkClicks, canvas.phase);
        saved = SaveClientPng(content.GetHWND(), dir + "\\demo.png");
        PumpFor(400);
        RedrawWindow(canvas.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        saved = SaveClientPng(content.GetHWND(), dir + "\\demo-2.png") && saved;
        animation.Stop();
        std::printf("demo: %s %s\\demo.png and demo-2.png\n", saved ? "wrote" : "could not write", dir.c_str());

        // The docking scene: a dock parent window over the content, a drawing
        // canvas as its free space, panes docked on all four sides, split
        // and nested, with dividers and one active caption.
        ZnDockablePane::SetCaptionStyle(1, 0, 1);
        DockParentWindow dock(&content, 0);
        dock.SetPosSizePixel(Point(0, 0), Size(720, 440));
        CanvasPane document(&dock, "Document", RGB(255, 255, 255));
        dock.GetPDockParentWnd()->SetPFreeSpaceWnd(document.GetPCWnd());
        NotePane tools(&dock, "Tools", RGB(236, 242, 250), "Shapes, sizes, colours");
        NotePane props(&dock, "Properties", RGB(246, 240, 230), "Size 24, amber");
        NotePane outputPane(&dock, "Output", RGB(250, 250, 244), "Docked on the bottom, 100 px");
        NotePane layers(&dock, "Layers", RGB(238, 248, 238), "Background, shapes");
        NotePane history(&dock, "History", RGB(248, 238, 244), "3 steps");
        NotePane ruler(&dock, "Ruler", RGB(244, 244, 244), "0    100    200    300");
        NotePane find(&dock, "Find", RGB(240, 240, 252), "Search the shapes");
        ZnDockingManager *docking = dock.GetPDockParentWnd()->GetPDockingManager();
        dock.Show();
        document.Show();
        docking->DockIntoParent(tools.Pane(), 0x1000, 170, true);
        docking->DockIntoParent(outputPane.Pane(), 0x8000, 100, true);
        docking->DockIntoPane(props.Pane(), tools.Pane(), 0x8000, 120);
        docking->DockIntoParent(layers.Pane(), 0x4000, 150, true);
        docking->DockIntoPane(history.Pane(), layers.Pane(), 0x8000, 0);
        docking->DockIntoParent(ruler.Pane(), 0x2000, 48, true);
        docking->DockIntoPane(find.Pane(), outputPane.Pane(), 0x4000, 200);
        props.Pane()->SetIsActive(true);
        animation.Start(Link(&document, &CanvasPane::Tick), 30);
        PumpFor(300);
        animation.Stop();
        RedrawWindow(dock.GetHWND(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        bool const docked = SaveClientPng(content.GetHWND(), dir + "\\demo-docking.png");
        std::printf("demo: %s %s\\demo-docking.png (%d docked groups)\n", docked ? "wrote" : "could not write",
                    dir.c_str(), int(docking->GetDefaultDividers().size()));
        saved = saved && docked;

        // The tab scene: the history tabbed onto the layers (the layers tab
        // in front) and the find pane onto the output, each group with its
        // strip along the bottom; then both groups are taken apart again
        // for the scenes that follow.
        {
            history.Pane()->AttachToTabWnd(layers.Pane(), DM_UNKNOWN, false);
            find.Pane()->AttachToTabWnd(outputPane.Pane());
            RedrawWindow(dock.GetHWND(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Pump();
            bool const tabs = SaveClientPng(content.GetHWND(), dir + "\\demo-tabs.png");
            std::printf("demo: %s %s\\demo-tabs.png\n", tabs ? "wrote" : "could not write", dir.c_str());
            saved = saved && tabs;
            history.Pane()->LeaveTabbedPane();
            docking->DockIntoPane(history.Pane(), layers.Pane(), 0x8000, 0);
            find.Pane()->LeaveTabbedPane();
            docking->DockIntoPane(find.Pane(), outputPane.Pane(), 0x4000, 200);
        }

        // The auto-hide scene: panes pinned off onto bars on the left and
        // the right edge (the left group on one bar, the right panes on a
        // bar each), one of them slid out over the document with its pin
        // lying; a group still docked on the bottom.
        {
            int const keepTimeOut = ZnDockablePane::m_nTimeOutBeforeAutoHide;
            ZnDockablePane::m_bDisableAnimation = 1;
            ZnDockablePane::m_nTimeOutBeforeAutoHide = 600000; // the mouse is wherever it is
            DockParentWindow ahDock(&content, 0);
            ahDock.SetPosSizePixel(Point(0, 0), Size(720, 440));
            CanvasPane ahDocument(&ahDock, "Document", RGB(255, 255, 255));
            ahDock.GetPDockParentWnd()->SetPFreeSpaceWnd(ahDocument.GetPCWnd());
            NotePane explorer(&ahDock, "Explorer", RGB(236, 242, 250), "Pinned off with its group");
            NotePane classes(&ahDock, "Classes", RGB(246, 240, 230), "Pinned off with its group");
            NotePane properties(&ahDock, "Properties", RGB(238, 248, 238), "Slid out from the right edge");
            NotePane layers(&ahDock, "Layers", RGB(248, 238, 244), "Pinned off alone");
            NotePane console(&ahDock, "Console", RGB(250, 250, 244), "Docked on the bottom");
            ZnDockingManager *ah = ahDock.GetPDockParentWnd()->GetPDockingManager();
            ahDock.Show();
            ahDocument.Show();
            ah->DockIntoParent(explorer.Pane(), 0x1000, 170, true);
            ah->DockIntoPane(classes.Pane(), explorer.Pane(), 0x8000, 0);
            ah->DockIntoParent(console.Pane(), 0x8000, 90, true);
            ah->DockIntoParent(properties.Pane(), 0x4000, 230, true);
            ah->DockIntoPane(layers.Pane(), properties.Pane(), 0x8000, 0);
            explorer.Pane()->EnableAutohideAll(true);
            explorer.Pane()->ToggleAutoHide();
            properties.Pane()->ToggleAutoHide();
            layers.Pane()->ToggleAutoHide();
            properties.Pane()->Slide(true);
            properties.Pane()->SetIsActive(true);
            PumpFor(200);
            RedrawWindow(ahDock.GetHWND(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Pump();
            bool const pinned = SaveClientPng(content.GetHWND(), dir + "\\demo-autohide.png");
            std::printf("demo: %s %s\\demo-autohide.png (%d auto-hide bars, '%s' slid out)\n",
                        pinned ? "wrote" : "could not write", dir.c_str(), int(ah->GetAutoHideBarList().GetCount()),
                        properties.Pane()->IsSlidOut() ? "Properties" : "none");
            saved = saved && pinned;
            ZnDockablePane::m_bDisableAnimation = 0;
            ZnDockablePane::m_nTimeOutBeforeAutoHide = keepTimeOut;
        }
        // The layout scene: the docking scene's layout saved, a pane hidden,
        // the layout changed (everything docked anew at random sides), the
        // pane shown again where it last was, then the saved layout
        // restored in one step.
        ZnDockParentWnd *dockWnd = dock.GetPDockParentWnd();
        dockWnd->SaveState();
        dock.HidePane(&layers);
        std::srand(5);
        dockWnd->DockAll();
        dock.ShowPane(&layers);
        Pump();
        RedrawWindow(dock.GetHWND(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        bool const changed = SaveClientPng(content.GetHWND(), dir + "\\demo-layout-changed.png");
        bool const restored = dockWnd->LoadState();
        Pump();
        RedrawWindow(dock.GetHWND(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        bool const again = SaveClientPng(content.GetHWND(), dir + "\\demo-layout-restored.png");
        std::printf("demo: %s %s\\demo-layout-changed.png and demo-layout-restored.png (%s)\n",
                    changed && again ? "wrote" : "could not write", dir.c_str(),
                    restored ? "restored" : "restored with emergency placements");
        saved = saved && changed && again;
        // The floating scene: beside the docked layout, one pane floating in
        // a mini frame of its own and two sharing a multi-pane frame, made
        // by docking one onto the other. The frames are top-level windows:
        // the picture is the content with each frame drawn where it stands.
        POINT origin{0, 0};
        ClientToScreen(content.GetHWND(), &origin);
        history.Pane()->FloatPane(CRect(origin.x + 470, origin.y + 70, origin.x + 700, origin.y + 210));
        find.Pane()->FloatPane(CRect(origin.x + 220, origin.y + 230, origin.x + 560, origin.y + 420));
        docking->DockIntoPane(ruler.Pane(), find.Pane(), 0x2000, 50);
        layers.Pane()->SetIsActive(true);
        PumpFor(200);
        RedrawWindow(dock.GetHWND(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        std::vector<HWND> frames;
        std::vector<ZnPaneFrameWnd *> miniFrames;
        docking->FillMiniFrameVec(miniFrames);
        for (ZnPaneFrameWnd *f : miniFrames)
            if (IsWindowVisible(f->GetSafeHwnd())) {
                RedrawWindow(f->GetSafeHwnd(), nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
                frames.push_back(f->GetSafeHwnd());
            }
        Pump();
        bool const floated = SaveClientWithFramesPng(content.GetHWND(), frames, dir + "\\demo-floating.png");
        std::printf("demo: %s %s\\demo-floating.png (%d mini frames)\n", floated ? "wrote" : "could not write",
                    dir.c_str(), int(frames.size()));
        saved = saved && floated && frames.size() == 2;
        // Back where they were, so that the frames leave the later scenes.
        for (NotePane *p : {&ruler, &find, &history})
            p->Pane()->DockToRecentDockSite();
        Pump();

        // The image scene: a gallery on a tiled background, a bitmap button
        // with its states, a stretched picture, and a dialog button with a
        // PNG.
        Gallery gallery(&content);
        gallery.SetPosSizePixel(Point(0, 0), Size(720, 440));
        BitmapButton play(&gallery, Badge(28, Gdiplus::Color(255, 60, 170, 90)), false);
        play.SetPosSizePixel(Point(16, 110), Size(64, 44));
        BitmapButton off(&gallery, Badge(28, Gdiplus::Color(255, 200, 80, 60)), false);
        off.SetPosSizePixel(Point(90, 110), Size(64, 44));
        StretchedBitmap stretched(&gallery, 0);
        stretched.SetPosSizePixel(Point(170, 110), Size(150, 80));
        stretched.SetBitmap(Bands());
        ZnDialogBitmapButton ok;
        ok.Create("Continue", WS_VISIBLE, RECT{340, 110, 470, 150}, gallery.GetPCWnd(), 901);
        ok.SetPngBitmap(Badge(24, Gdiplus::Color(255, 230, 160, 30)));
        // Icons of an image list, drawn from the list by the gallery's
        // device, and a spinner GIF written by the library and played.
        ImageList icons;
        for (Gdiplus::Color c : {Gdiplus::Color(255, 40, 120, 200), Gdiplus::Color(255, 60, 170, 90),
                                 Gdiplus::Color(255, 200, 80, 60), Gdiplus::Color(255, 230, 160, 30)}) {
            Bitmap badge = Badge(32, c);
            icons.AddGdiplusBitmap(badge.GetPGdiplusBitmap(), 32);
        }
        StretchedBitmap iconRow(&gallery, 0);
        iconRow.SetPosSizePixel(Point(16, 210), Size(4 * 40, 32));
        {
            VirtualDevice strip;
            strip.SetOutputSize(Size(4 * 40, 32), false);
            strip.Erase(Color(0xF0F0F0ul), CRectangle(0, 0, 4 * 40 - 1, 31));
            for (int i = 0; i < icons.Count(); ++i)
                strip.DrawBitmapTransparent(Point(i * 40, 0), icons.GetBitmap(i, &strip));
            iconRow.SetBitmap(strip.GetBitmap(Point(0, 0), Size(4 * 40, 32)));
        }
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        std::string const spinnerFile = std::string(temp) + "kestrel5-demo-spinner.gif";
        std::string const spinnerData = std::string(temp) + "kestrel5-demo-spinner.anm";
        Bitmap::SaveAnimatedGif(DirEntry(SString(spinnerData.c_str())), SpinnerFrames(), 80);
        AnimatedGif spinner(&gallery, 0);
        spinner.SetPosSizePixel(Point(200, 210), Size(40, 40));
        bool const gifLoaded = spinner.Load(DirEntry(SString(spinnerFile.c_str()))) == 1;
        // A tool bar made from a command table: badges as images, the
        // texts as labels; update requests disable one button and check one.
        CommandIds commands(8);
        commands.Add(501, SString("Open"), Badge(20, Gdiplus::Color(255, 40, 120, 200)), SString());
        commands.Add(502, SString("Save"), Badge(20, Gdiplus::Color(255, 60, 170, 90)), SString());
        commands.AddSeparator();
        commands.Add(503, SString("Print"), Badge(20, Gdiplus::Color(255, 200, 80, 60)), SString());
        commands.Add(504, SString("Grid"), Badge(20, Gdiplus::Color(255, 230, 160, 30)), SString());
        ToolBar toolBar(&gallery, commands);
        toolBar.SetPosSizePixel(Point(16, 270), toolBar.GetSizePixel());
        CustomToolCmdUI update;
        update.m_pOther = toolBar.GetPCWnd();
        update.m_nID = 503;
        update.Enable(0);
        update.m_nID = 504;
        update.SetCheck(1);
        toolBar.Show();
        iconRow.Show();
        spinner.Show();
        gallery.Show();
        play.Show();
        off.Show();
        off.Enable(false);
        stretched.Show();
        RedrawWindow(gallery.GetHWND(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        spinner.Play();
        PumpFor(290); // mid-animation: the fourth frame or so
        bool const images = SaveClientPng(content.GetHWND(), dir + "\\demo-images.png");
        std::printf("demo: %s %s\\demo-images.png (spinner %s)\n", images ? "wrote" : "could not write",
                    dir.c_str(), gifLoaded ? "playing" : "not loaded");
        spinner.Stop();
        DeleteFileA(spinnerData.c_str());
        ok.DestroyWindow();
        saved = saved && images && gifLoaded;

        // The list scene: a million rows, icons from an image list, a
        // custom-drawn size column, sorted by a header click.
        gallery.Hide();
        dock.Hide();
        FileList files(&content);
        files.SetPosSizePixel(Point(24, 90), Size(672, 330));
        ImageList small;
        for (Gdiplus::Color c : {Gdiplus::Color(255, 40, 120, 200), Gdiplus::Color(255, 60, 170, 90),
                                 Gdiplus::Color(255, 230, 160, 30)}) {
            Bitmap badge = Badge(16, c);
            small.AddGdiplusBitmap(badge.GetPGdiplusBitmap(), 16);
        }
        files.ViewReport();
        files.InsertColumn(0, SString("Name"), 0, 260, -1);
        files.InsertColumn(1, SString("Size"), 0, 220, -1);
        files.InsertColumn(2, SString("Kind"), 0, 160, -1);
        files.SetSmallImageList(small.GetPCImageList());
        files.SetItemCount(1000000);
        files.Show();
        Pump();
        // A click on the Name header, as the platform delivers it.
        NMLISTVIEW column{};
        column.hdr.hwndFrom = files.GetHWND();
        column.hdr.idFrom = UINT_PTR(GetDlgCtrlID(files.GetHWND()));
        column.hdr.code = LVN_COLUMNCLICK;
        column.iItem = -1;
        column.iSubItem = 0;
        SendMessageA(content.GetHWND(), WM_NOTIFY, column.hdr.idFrom, reinterpret_cast<LPARAM>(&column));
        files.Select(3, true);
        files.SetTopIndex(0);
        RedrawWindow(content.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        bool const listed = SaveClientPng(content.GetHWND(), dir + "\\demo-list.png");
        std::printf("demo: %s %s\\demo-list.png (%d rows, %s)\n", listed ? "wrote" : "could not write", dir.c_str(),
                    files.GetItemCount(), files.m_bAscending ? "ascending" : "descending");
        saved = saved && listed;

        // The tree scene: a project whose folders open on demand, icons from
        // an image list, one file chosen and one folder marked as a drop
        // target.
        files.Hide();
        ProjectTree project;
        TreeControl tree;
        tree.Create(&content, &project, 0);
        tree.SetPosSizePixel(Point(24, 90), Size(672, 330));
        ImageList treeIcons;
        for (Gdiplus::Color c : {Gdiplus::Color(255, 230, 160, 30), Gdiplus::Color(255, 240, 200, 90),
                                 Gdiplus::Color(255, 40, 120, 200), Gdiplus::Color(255, 60, 170, 90)}) {
            Bitmap badge = Badge(16, c);
            treeIcons.AddGdiplusBitmap(badge.GetPGdiplusBitmap(), 16);
        }
        tree.SetImageList(treeIcons.GetPCImageList());
        for (char const *folder : {"Kestrel5", "docs", "controls", "tests"})
            tree.Expand(project.Find(folder));
        tree.Expand(tree.GetChildItem(project.Find("tests")));
        tree.Select(project.Find("TreeControl.cpp"));
        tree.SetDropHighlight(project.Find("window"));
        tree.Show();
        tree.GrabFocus();
        RedrawWindow(content.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        int treeShown = 0;
        for (HTREEITEM h = tree.GetRootItem(); h; h = tree.GetNextVisible(h))
            ++treeShown;
        bool const treed = SaveClientPng(content.GetHWND(), dir + "\\demo-tree.png");
        std::printf("demo: %s %s\\demo-tree.png (%d items shown)\n", treed ? "wrote" : "could not write", dir.c_str(),
                    treeShown);
        saved = saved && treed && treeShown > 10;

        tree.Hide();
        FormatsBoard board(&content);
        board.SetPosSizePixel(Point(0, 0), Size(720, 440));
        board.Show();
        RedrawWindow(content.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        bool const formats = SaveClientPng(content.GetHWND(), dir + "\\demo-formats.png");
        std::printf("demo: %s %s\\demo-formats.png\n", formats ? "wrote" : "could not write", dir.c_str());
        saved = saved && formats;

        board.Hide();
        FramesBoard framesBoard(&content);
        framesBoard.SetPosSizePixel(Point(0, 0), Size(720, 440));
        framesBoard.Show();
        RedrawWindow(content.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        bool const framed = SaveClientPng(content.GetHWND(), dir + "\\demo-frames.png");
        std::printf("demo: %s %s\\demo-frames.png\n", framed ? "wrote" : "could not write", dir.c_str());
        saved = saved && framed;
        framesBoard.Hide();

        // Text fields: a one-line field with its hint, a field of several
        // lines, and the correcting field with its misspelt words in red.
        {
            Window fields(&content, 0, 0);
            fields.SetPosSizePixel(Point(0, 0), Size(720, 440));
            fields.ChangeBackgroundTexture(Texture(Rgb(236, 240, 246)));
            fields.Show();
            SingleLineEdit name(&fields, 0);
            name.SetPosSizePixel(Point(24, 24), Size(300, 24));
            name.SetCueBanner(SString("Your name"));
            SingleLineEdit city(&fields, 0);
            city.SetPosSizePixel(Point(340, 24), Size(300, 24));
            city.SetText(SString("Helsinki"));
            MultiLineEdit notes(&fields, EDIT_VSCROLL);
            notes.SetPosSizePixel(Point(24, 64), Size(616, 120));
            notes.SetText(SString("Multi-line field:\r\nReturn breaks the line,\r\nthe links hear of every change."));
            EditEx spelling(&fields, 0);
            spelling.SetPosSizePixel(Point(24, 200), Size(616, 100));
            spelling.ChangeFont(Font(SString("Tahoma"), 16));
            spelling.SetText(SString("Teh editor field shows misspelt wrods in red adn Correct() fixes them."));
            spelling.SetWords({{SString("Teh"), SString("The")}, {SString("wrods"), SString("words")},
                               {SString("adn"), SString("and")}});
            EditEx corrected(&fields, 0);
            corrected.SetPosSizePixel(Point(24, 316), Size(616, 60));
            corrected.ChangeFont(Font(SString("Tahoma"), 16));
            corrected.SetText(spelling.GetText());
            corrected.SetWords({{SString("Teh"), SString("The")}, {SString("wrods"), SString("words")},
                                {SString("adn"), SString("and")}});
            corrected.Correct();
            RedrawWindow(content.GetHWND(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Pump();
            bool const edited = SaveClientPng(content.GetHWND(), dir + "\\demo-edit.png") &&
                                corrected.GetText().Search(SString("wrods")) == STR_NOT_FOUND;
            std::printf("demo: %s %s\\demo-edit.png\n", edited ? "wrote" : "could not write", dir.c_str());
            saved = saved && edited;
        }

        // The tool-tip scene: a pane with a tip that carries a picture with
        // its marker and a title, shown by a real hover of the mouse.
        board.Hide();
        controls.Hide();
        canvas.Hide();
        output.Hide();
        CanvasPane hover(&content, "Hover me", RGB(244, 248, 240));
        hover.SetPosSizePixel(Point(24, 90), Size(300, 180));
        hover.Show();
        hover.SetToolTip(SString("Orbit of 24 px shapes, amber theme"));
        ToolTip &tip = *hover.GetPToolTip();
        tip.SetDelayTime(50, TTDT_INITIAL);
        tip.SetTitle(1, SString("Canvas"));
        tip.SetBitmap(Badge(48, Gdiplus::Color(255, 40, 120, 200)), false);
        tip.EnableDrawBitmap(true);
        tip.SetScalarX(0.5f);
        tip.SetScalarY(0.5f);
        RedrawWindow(content.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        POINT at{120, 100};
        ClientToScreen(hover.GetHWND(), &at);
        SetCursorPos(at.x - 2, at.y);
        INPUT move{};
        move.type = INPUT_MOUSE;
        move.mi.dwFlags = MOUSEEVENTF_MOVE;
        move.mi.dx = 2;
        SendInput(1, &move, sizeof move);
        bool shown = false;
        for (DWORD const start = GetTickCount(); !shown && GetTickCount() - start < 3000; PumpFor(20))
            shown = IsWindowVisible(tip.GetHWND()) != FALSE;
        PumpFor(100);
        RECT pane, popup, area;
        GetWindowRect(hover.GetHWND(), &pane);
        GetWindowRect(tip.GetHWND(), &popup);
        UnionRect(&area, &pane, &popup);
        InflateRect(&area, 8, 8);
        MapWindowPoints(nullptr, content.GetHWND(), reinterpret_cast<POINT *>(&area), 2);
        bool const tipped =
            shown && SaveClientWithPopupPng(content.GetHWND(), area, tip.GetHWND(), dir + "\\demo-tooltip.png");
        std::printf("demo: %s %s\\demo-tooltip.png (tip %s)\n", tipped ? "wrote" : "could not write", dir.c_str(),
                    shown ? "shown" : "not shown");
        saved = saved && tipped;
        // The drag-and-drop scene: text dragged for real (the mouse pressed
        // over the source, moved over a refusing pane, then dropped on the
        // receiving one) while the drag loop runs; the receiver shows it.
        hover.Hide();
        {
            DragTextPane from(&content, "Source", "Hello from Kestrel5");
            DropPane refuser(&content, "No drop", RGB(248, 236, 236), false);
            DropPane receiver(&content, "Drop target", RGB(238, 248, 236), true);
            from.SetPosSizePixel(Point(24, 90), Size(220, 150));
            refuser.SetPosSizePixel(Point(258, 90), Size(200, 150));
            receiver.SetPosSizePixel(Point(472, 90), Size(224, 150));
            for (Window *w : {static_cast<Window *>(&from), static_cast<Window *>(&refuser),
                              static_cast<Window *>(&receiver)})
                w->Show();
            refuser.EnableDrop(true);
            receiver.EnableDrop(true);
            SetForegroundWindow(mainFrame->m_hWnd);
            Pump();
            auto centre = [](Window &w, int x, int y) {
                POINT p{x, y};
                ClientToScreen(w.GetHWND(), &p);
                return p;
            };
            POINT const start = centre(from, 110, 80);
            SetCursorPos(start.x, start.y);
            Pump();
            std::thread mover([&] {
                auto until = [](auto cond) {
                    for (DWORD const t = GetTickCount(); !cond() && GetTickCount() - t < 5000;)
                        Sleep(5);
                };
                auto move = [](POINT p) {
                    INPUT in{};
                    in.type = INPUT_MOUSE;
                    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
                    in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
                    in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
                    SendInput(1, &in, sizeof in);
                };
                until([&] { return from.dragging.load(); });
                move(centre(refuser, 100, 90));
                until([&] { return refuser.queries.load() > 0; });
                move(centre(receiver, 150, 110));
                until([&] { return receiver.queries.load() > 0; });
                INPUT up{};
                up.type = INPUT_MOUSE;
                up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
                SendInput(1, &up, sizeof up);
            });
            INPUT down{};
            down.type = INPUT_MOUSE;
            down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
            SendInput(1, &down, sizeof down);
            for (DWORD const t = GetTickCount(); !from.dragged && GetTickCount() - t < 10000;)
                PumpFor(20);
            mover.join();
            RedrawWindow(content.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Pump();
            bool const dropped = receiver.drops == 1 && refuser.drops == 0 &&
                                 receiver.received == SString("Hello from Kestrel5") && receiver.HasFocus();
            bool const shot = dropped && SaveClientPng(content.GetHWND(), dir + "\\demo-dnd.png");
            std::printf("demo: %s %s\\demo-dnd.png (drop %s, source result %lu)\n", shot ? "wrote" : "could not write",
                        dir.c_str(), dropped ? "received" : "missing", from.result);
            saved = saved && shot;
        }
    }
    int const pages = PrintSummary();
    if (pages)
        std::printf("demo: printed %d page(s)\n", pages);
    else
        std::printf("demo: no printer, nothing printed\n");
    mainFrame->DestroyWindow(); // the frame deletes itself
    KSExit();
    if (!saved)
        return 1;
    std::printf("demo: done\n");
    return 0;
}
