#include "graphics/OutputDevice.h"

#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "graphics/DCManager.h"
#include "graphics/Printer.h"
#include "mfc/CBrush.h"
#include "mfc/CPen.h"

#include <cmath>
#include <string>
#include <vector>
#include <windows.h>
#include <gdiplus.h>
#include <d2d1_1.h>
#include <d2d1effects.h>
#include <dwrite.h>
#include <wincodec.h>

using Gdiplus::PointF;
using Gdiplus::RectF;
using Gdiplus::Rect;
using Gdiplus::LinearGradientBrush;
using Gdiplus::Graphics;
using Gdiplus::SolidBrush;
using Gdiplus::GraphicsPath;
using Gdiplus::PathGradientBrush;
using Gdiplus::LinearGradientBrush;
using Gdiplus::Status;
using Gdiplus::Ok;
using Gdiplus::InvalidParameter;
using Gdiplus::GenericError;
using Gdiplus::LineCap;
using Gdiplus::SmoothingModeHighQuality;
using Gdiplus::SmoothingModeAntiAlias;
using Gdiplus::FillModeAlternate;
using Gdiplus::GpStringFormat;
using Gdiplus::GpFontFamily;
using Gdiplus::GpFont;
using Gdiplus::GpGraphics;
using Gdiplus::GpSolidFill;
using Gdiplus::GpRegion;
using Gdiplus::REAL;
using Gdiplus::FontStyleBold;
using Gdiplus::FontStyleItalic;
using Gdiplus::FontStyleUnderline;
using Gdiplus::FontStyleStrikeout;
using Gdiplus::UnitPixel;
using Gdiplus::TextRenderingHintClearTypeGridFit;
using Gdiplus::TextRenderingHintAntiAliasGridFit;
using Gdiplus::CharacterRange;
namespace DllExports = Gdiplus::DllExports;

namespace {

DCManager *GetDCManager()
{
    KSData *data = GetPKSData();
    return data ? data->m_pDCManager : nullptr;
}

template <class T> void ReleaseCom(T *&p)
{
    if (p) {
        p->Release();
        p = nullptr;
    }
}

// Platform rectangles are exclusive at the right and bottom.
RECT ToRECT(CRectangle const &r)
{
    return RECT{r.Left(), r.Top(), r.Right() + 1, r.Bottom() + 1};
}

unsigned Clip(unsigned start, unsigned len, int total)
{
    unsigned const n = total < 0 ? 0u : unsigned(total);
    if (start >= n)
        return 0;
    return len > n - start ? n - start : len;
}

Gdiplus::Color GpColor(::Color const &c, unsigned alpha)
{
    return Gdiplus::Color(static_cast<BYTE>(alpha), static_cast<BYTE>(c.Get8BitRed()),
                          static_cast<BYTE>(c.Get8BitGreen()), static_cast<BYTE>(c.Get8BitBlue()));
}

Gdiplus::Color GpColor(TransparentColor const &c)
{
    return GpColor(c.GetColor(), c.GetAlpha());
}

PointF GpPoint(FPoint const &p)
{
    return PointF(static_cast<REAL>(p.X()), static_cast<REAL>(p.Y()));
}

RectF GpRect(FRectangle const &r)
{
    return RectF(static_cast<REAL>(r.Left()), static_cast<REAL>(r.Top()), static_cast<REAL>(r.Width()),
                 static_cast<REAL>(r.Height()));
}

// Quadratic pieces through the points as cubic Bézier points: the curve
// starts at p[0]; every inner point is a control point and the midpoints
// between them are the joins, so the curve is smooth at every join.
bool Curve(std::vector<PointF> const &p, std::vector<PointF> &out)
{
    size_t const n = p.size();
    if (n < 2)
        return false;
    out.clear();
    out.push_back(p[0]);
    PointF s = p[0];
    auto piece = [&](PointF const &c, PointF const &e) {
        out.push_back(PointF((s.X + 2 * c.X) / 3, (s.Y + 2 * c.Y) / 3));
        out.push_back(PointF((e.X + 2 * c.X) / 3, (e.Y + 2 * c.Y) / 3));
        out.push_back(e);
        s = e;
    };
    if (n == 2) {
        piece(p[0], p[1]);
        return true;
    }
    for (size_t i = 1; n > 3 && i <= n - 3; ++i)
        piece(p[i], PointF((p[i].X + p[i + 1].X) / 2, (p[i].Y + p[i + 1].Y) / 2));
    piece(p[n - 2], p[n - 1]);
    return true;
}

GpStringFormat *TypographicFormat()
{
    // GDI+ owns the generic formats; the pointer stays valid for the process.
    static GpStringFormat *s_pFormat = nullptr;
    if (!s_pFormat)
        DllExports::GdipStringFormatGetGenericTypographic(&s_pFormat);
    return s_pFormat;
}

// A GDI+ font for the device's font: from its family name, or, where GDI+
// does not know the family (it ignores the platform's font substitutes), from
// the platform font itself.
class GpFontHolder
{
public:
    GpFontHolder(HDC hDC, ::Font &f) : m_pFamily(nullptr), m_pFont(nullptr)
    {
        int style = 0;
        if (f.GetWeight() >= 560)
            style |= FontStyleBold;
        if (f.IsItalic())
            style |= FontStyleItalic;
        if (f.IsUnderline())
            style |= FontStyleUnderline;
        if (f.IsStrikeout())
            style |= FontStyleStrikeout;
        UString name = f.GetUName();
        if (name.Len() > 0 && DllExports::GdipCreateFontFamilyFromName(name.GetStr(), nullptr, &m_pFamily) == Ok)
            DllExports::GdipCreateFont(m_pFamily, static_cast<REAL>(f.GetSize().Height()), style, UnitPixel,
                                       &m_pFont);
        if (!m_pFont)
            DllExports::GdipCreateFontFromDC(hDC, &m_pFont);
    }
    ~GpFontHolder()
    {
        if (m_pFont)
            DllExports::GdipDeleteFont(m_pFont);
        if (m_pFamily)
            DllExports::GdipDeleteFontFamily(m_pFamily);
    }
    GpFontHolder(GpFontHolder const &) = delete;
    GpFontHolder &operator=(GpFontHolder const &) = delete;
    GpFont *Get() const { return m_pFont; }

private:
    GpFontFamily *m_pFamily;
    GpFont *m_pFont;
};

class GpGraphicsHolder
{
public:
    explicit GpGraphicsHolder(HDC hDC) : m_p(nullptr) { m_eStatus = DllExports::GdipCreateFromHDC(hDC, &m_p); }
    ~GpGraphicsHolder()
    {
        if (m_p)
            DllExports::GdipDeleteGraphics(m_p);
    }
    GpGraphicsHolder(GpGraphicsHolder const &) = delete;
    GpGraphicsHolder &operator=(GpGraphicsHolder const &) = delete;
    GpGraphics *Get() const { return m_p; }
    Status GetStatus() const { return m_eStatus; }

private:
    GpGraphics *m_p;
    Status m_eStatus;
};

} // namespace

// The device's font families, enumerated on first use.
struct DevFontList
{
    std::vector<SString> aNames;
};

// ---------------------------------------------------------------- life

OutputDevice::OutputDevice()
    : m_hDC(nullptr), m_bExternal(false), m_nDevKind(OutputDeviceWindow), m_nRasterOp(SRCCOPY), m_hInitPen(nullptr),
      m_hInitBrush(nullptr), m_hInitFont(nullptr), m_nInitTextColor(0), m_bInitTextColor(false),
      m_nGdiPlusErrors(0), m_pD2DFactory(nullptr), m_pRenderTarget(nullptr), m_pWriteFactory(nullptr),
      m_pWicFactory(nullptr), m_pFontList(nullptr), m_hOldFont(nullptr), m_nOldTextColor(0), m_nOldBkColor(0), m_nOldBkMode(0)
{
}

OutputDevice::OutputDevice(HDC hDC) : OutputDevice()
{
    m_hDC = hDC;
    m_bExternal = hDC != nullptr;
    m_nDevKind = OutputDeviceExternal;
}

OutputDevice::~OutputDevice()
{
    if (DCManager *pManager = GetDCManager())
        pManager->ForgetDevice(this);
    if (m_bExternal)
        DeleteDrawingTools();
    else
        ReleaseDevice();
    ReleaseD2D();
    ReleaseCom(m_pWriteFactory);
    ReleaseCom(m_pWicFactory);
}

Size OutputDevice::GetOutputSizePixel() const
{
    return Size();
}

int OutputDevice::GetHeightPixel(int nHeight) const
{
    return nHeight;
}

int OutputDevice::GetWidthPixel(int nWidth) const
{
    return nWidth;
}

Size OutputDevice::GetSizePixel(Size aSize) const
{
    return Size(GetWidthPixel(aSize.Width()), GetHeightPixel(aSize.Height()));
}

Point OutputDevice::GetPointPixel(Point aPoint) const
{
    return Point(GetWidthPixel(aPoint.X()), GetHeightPixel(aPoint.Y()));
}

bool OutputDevice::IsPrinter() const
{
    return m_nDevKind == OutputDevicePrinter;
}

HWND OutputDevice::GetHWND() const
{
    return nullptr;
}

// ---------------------------------------------------------------- device

HDC OutputDevice::GethDC()
{
    if (m_hDC || m_bExternal)
        return m_hDC;
    if (m_nDevKind == OutputDeviceWindow) {
        if (DCManager *pManager = GetDCManager())
            pManager->GetDC(this);
    } else if (m_nDevKind == OutputDevicePrinter) {
        static_cast<Printer *>(this)->CreateDCA();
    }
    return m_hDC;
}

void OutputDevice::RestoreInitialTools()
{
    if (m_hDC) {
        if (m_hInitPen)
            SelectObject(m_hDC, m_hInitPen);
        if (m_hInitBrush)
            SelectObject(m_hDC, m_hInitBrush);
    }
    m_hInitPen = nullptr;
    m_hInitBrush = nullptr;
}

void OutputDevice::ReleaseDevice()
{
    if (m_bExternal)
        return;
    RestoreInitialTools();
    if (m_hDC) {
        switch (m_nDevKind) {
        case OutputDeviceWindow:
            if (DCManager *pManager = GetDCManager())
                pManager->DeleteDC();
            break;
        case OutputDeviceMemory:
            ::DeleteDC(m_hDC);
            break;
        case OutputDevicePrinter:
            static_cast<Printer *>(this)->DeleteDC();
            break;
        default:
            break;
        }
        m_hDC = nullptr;
    }
    DeleteDrawingTools();
}

void OutputDevice::SetHDCFromExtern(HDC hDC)
{
    if (hDC == m_hDC)
        return;
    RestoreInitialTools();
    if (!m_bExternal)
        ReleaseDevice();
    DeleteDrawingTools();
    m_hDC = hDC;
    m_bExternal = hDC != nullptr;
}

void OutputDevice::ChangePen(Pen const &rPen)
{
    HDC h = GethDC();
    Pen keep(rPen);
    if (h) {
        HGDIOBJ old = SelectObject(h, keep.GethPen());
        if (!m_hInitPen)
            m_hInitPen = old;
    }
    // The previous pen goes only now that the HDC no longer uses it.
    m_aPen = keep;
}

void OutputDevice::ChangeFillInBrush(Brush const &rBrush)
{
    HDC h = GethDC();
    Brush keep(rBrush);
    if (h) {
        CBrush *pBrush = keep.GetOrCreatePCBrush();
        HGDIOBJ old = SelectObject(h, pBrush ? pBrush->m_hObject : GetStockObject(NULL_BRUSH));
        if (!m_hInitBrush)
            m_hInitBrush = old;
    }
    m_aFillBrush = keep;
}

void OutputDevice::ChangeFont(Font const &rFont)
{
    m_aFont = rFont;
}

Pen OutputDevice::GetPen()
{
    if (m_aPen.IsValid())
        return m_aPen;
    HDC h = GethDC();
    if (!h)
        return Pen();
    CPen wrap;
    wrap.Attach(GetCurrentObject(h, OBJ_PEN));
    m_aPen = Pen(&wrap);
    wrap.Detach();
    return m_aPen;
}

Brush OutputDevice::GetFillInBrush()
{
    if (m_aFillBrush.IsValid())
        return m_aFillBrush;
    HDC h = GethDC();
    if (!h)
        return Brush();
    CBrush wrap;
    wrap.Attach(GetCurrentObject(h, OBJ_BRUSH));
    m_aFillBrush = Brush(&wrap);
    wrap.Detach();
    return m_aFillBrush;
}

void OutputDevice::DeleteDrawingTools()
{
    // A kept tool may be the one selected: the HDC gets its own back before
    // the tool can be deleted.
    RestoreInitialTools();
    m_aPen = Pen();
    m_aFillBrush = Brush();
    m_aFont = Font();
    m_aBackgroundBrush = Brush();
    m_hInitFont = nullptr;
    m_bInitTextColor = false;
    m_nInitTextColor = 0;
    delete m_pFontList;
    m_pFontList = nullptr;
}

void OutputDevice::ChangeBackgroundBrush(Brush const &rBrush)
{
    m_aBackgroundBrush = rBrush;
}

bool OutputDevice::DrawBackground()
{
    return Erase();
}

void OutputDevice::SetBackgroundAndFontCol(Color &rColor)
{
    m_aBackgroundBrush = Brush(rColor, BrushStyleSolid);
    m_aFont.ChangeFillColor(rColor);
}

void OutputDevice::ChangeClipRegion(Region const &rRegion)
{
    HDC h = GethDC();
    if (!h)
        return;
    HRGN rgn = rRegion.CreateHRGN();
    SelectClipRgn(h, rgn);
    if (rgn)
        DeleteObject(rgn);
}

void OutputDevice::ChangeClipRegion()
{
    if (HDC h = GethDC())
        SelectClipRgn(h, nullptr);
}

Region OutputDevice::GetClipRegion()
{
    HDC h = GethDC();
    if (!h)
        return Region();
    RECT rc{};
    GetClipBox(h, &rc);
    return Region(CRectangle(rc.left, rc.top, rc.right, rc.bottom));
}

unsigned long OutputDevice::GetColorCount()
{
    HDC h = GethDC();
    if (!h)
        return 0;
    int bits = GetDeviceCaps(h, BITSPIXEL) * GetDeviceCaps(h, PLANES);
    if (bits >= 24)
        return 1ul << 24; // an alpha channel adds no colours
    return bits <= 0 ? 0 : 1ul << bits;
}

Color OutputDevice::GetPixel(Point const &rPoint)
{
    HDC h = GethDC();
    if (!h)
        return Color();
    COLORREF c = ::GetPixel(h, rPoint.X(), rPoint.Y());
    return c == CLR_INVALID ? Color() : Color(static_cast<unsigned long>(c));
}

bool OutputDevice::DrawPixel(Point const &rPoint, Color const &rColor)
{
    HDC h = GethDC();
    return h && SetPixel(h, rPoint.X(), rPoint.Y(), rColor.GetLong()) != CLR_INVALID;
}

unsigned long OutputDevice::ReplaceColor(Color const &rFrom, Color const &rTo)
{
    HDC h = GethDC();
    if (!h)
        return 0;
    Size s = GetOutputSizePixel();
    COLORREF from = rFrom.GetLong(), to = rTo.GetLong();
    unsigned long n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (::GetPixel(h, x, y) == from && SetPixel(h, x, y, to) != CLR_INVALID)
                ++n;
    return n;
}

bool OutputDevice::InvertRect(CRectangle const &rRect)
{
    HDC h = GethDC();
    if (!h || rRect.IsEmpty())
        return false;
    RECT rc = ToRECT(rRect);
    return ::InvertRect(h, &rc) != 0;
}

// ---------------------------------------------------------------- rectangles

bool OutputDevice::DrawRect(CRectangle const &rRect)
{
    if (rRect.IsEmpty())
        return false;
    HDC h = GethDC();
    if (!h)
        return false;
    if (!m_aPen.IsValid())
        GetPen();
    // Without a pen the platform leaves out the right and bottom edge.
    int const grow = m_aPen.GetStyle() == PS_NULL ? 2 : 1;
    return Rectangle(h, rRect.Left(), rRect.Top(), rRect.Right() + grow, rRect.Bottom() + grow) != 0;
}

bool OutputDevice::DrawRect(CRectangle const &rRect, CSize const &rCorner)
{
    if (rRect.IsEmpty())
        return false;
    HDC h = GethDC();
    if (!h)
        return false;
    return RoundRect(h, rRect.Left(), rRect.Top(), rRect.Right() + 1, rRect.Bottom() + 1, rCorner.cx, rCorner.cy) !=
           0;
}

bool OutputDevice::DrawFrame(CRectangle const &rRect)
{
    if (rRect.IsEmpty() || !GethDC())
        return false;
    Point tl = rRect.TopLeft(), tr = rRect.TopRight(), br = rRect.BottomRight(), bl = rRect.BottomLeft();
    bool ok = DrawLine(tl, tr);
    ok = DrawLine(tr, br) && ok;
    ok = DrawLine(br, bl) && ok;
    return DrawLine(bl, tl) && ok;
}

bool OutputDevice::Draw3DFrame(CRectangle const &rRect, int nWidth, Color const &rLight, Color const &rDark,
                               bool bSunken)
{
    HDC h = GethDC();
    if (!h)
        return false;
    Pen first(bSunken ? rDark : rLight, 1, PS_SOLID), second(bSunken ? rLight : rDark, 1, PS_SOLID);
    int const l = rRect.Left(), t = rRect.Top();
    int const r = rRect.Right() == RECT_EMPTY ? l : rRect.Right();
    int const b = rRect.Bottom() == RECT_EMPTY ? t : rRect.Bottom();
    auto line = [h](Pen &pen, int x1, int y1, int x2, int y2) {
        MoveToEx(h, x1, y1, nullptr);
        LineTo(h, x2, y2);
        SetPixel(h, x2, y2, pen.GetColor().GetLong());
    };
    HGDIOBJ old = GetCurrentObject(h, OBJ_PEN);
    // Steps beyond half the rectangle only redraw its middle line.
    long long const half = ((long long)r - l > (long long)b - t ? (long long)r - l : (long long)b - t) / 2 + 1;
    int const steps = nWidth < half ? nWidth : int(half);
    for (int i = 0; i < steps; ++i) {
        SelectObject(h, first.GethPen());
        line(first, l + i, t + i, r - i, t + i);
        line(first, l + i, t + i, l + i, b - i);
        SelectObject(h, second.GethPen());
        line(second, l + i, b - i, r - i, b - i);
        line(second, r - i, t + i, r - i, b - i);
    }
    SelectObject(h, old);
    return true;
}

bool OutputDevice::DrawGrayEdge(CRectangle const &rRect, unsigned int nEdge, unsigned int nFlags)
{
    HDC h = GethDC();
    if (!h || rRect.IsEmpty())
        return false;
    RECT rc = ToRECT(rRect);
    return DrawEdge(h, &rc, nEdge, nFlags) != 0;
}

// ---------------------------------------------------------------- lines and shapes

bool OutputDevice::DrawLine(Point const &rFrom, Point const &rTo)
{
    HDC h = GethDC();
    if (!h)
        return false;
    MoveToEx(h, rFrom.X(), rFrom.Y(), nullptr);
    bool ok = LineTo(h, rTo.X(), rTo.Y()) != 0;
    // The platform leaves out the end point; a null pen draws no point.
    if (!m_aPen.IsValid())
        GetPen();
    if (ok && m_aPen.GetStyle() != PS_NULL)
        SetPixel(h, rTo.X(), rTo.Y(), m_aPen.GetColor().GetLong());
    return ok;
}

bool OutputDevice::DrawArc(CRectangle const &rRect, Point const &rStart, Point const &rEnd)
{
    HDC h = GethDC();
    if (!h || rRect.IsEmpty())
        return false;
    return Arc(h, rRect.Left(), rRect.Top(), rRect.Right() + 1, rRect.Bottom() + 1, rStart.X(), rStart.Y(),
               rEnd.X(), rEnd.Y()) != 0;
}

bool OutputDevice::DrawPie(CRectangle const &rRect, Point const &rStart, Point const &rEnd)
{
    HDC h = GethDC();
    if (!h || rRect.IsEmpty())
        return false;
    return Pie(h, rRect.Left(), rRect.Top(), rRect.Right() + 1, rRect.Bottom() + 1, rStart.X(), rStart.Y(),
               rEnd.X(), rEnd.Y()) != 0;
}

bool OutputDevice::DrawSpline(CPolygon const &rPoly)
{
    HDC h = GethDC();
    if (!h)
        return false;
    std::vector<PointF> in, out;
    for (unsigned i = 0; i < rPoly.Count(); ++i)
        in.emplace_back(REAL(rPoly[i].X()), REAL(rPoly[i].Y()));
    if (!Curve(in, out))
        return false;
    std::vector<POINT> pts;
    for (PointF const &p : out)
        pts.push_back(POINT{LONG(std::lround(p.X)), LONG(std::lround(p.Y))});
    return PolyBezier(h, pts.data(), DWORD(pts.size())) != 0;
}

bool OutputDevice::DrawEllipse(CRectangle const &rRect)
{
    HDC h = GethDC();
    if (!h || rRect.IsEmpty())
        return false;
    return Ellipse(h, rRect.Left(), rRect.Top(), rRect.Right() + 1, rRect.Bottom() + 1) != 0;
}

bool OutputDevice::DrawPolygon(CPolygon const &rPoly)
{
    HDC h = GethDC();
    if (!h || rPoly.Count() < 2)
        return false;
    std::vector<POINT> pts;
    for (unsigned i = 0; i < rPoly.Count(); ++i)
        pts.push_back(POINT{rPoly[i].X(), rPoly[i].Y()});
    return Polygon(h, pts.data(), int(pts.size())) != 0;
}

bool OutputDevice::FillRgn(Region const &rRegion, Brush &rBrush)
{
    HDC h = GethDC();
    if (!h || rRegion.IsEmpty())
        return false;
    HRGN rgn = rRegion.CreateShapeHRGN();
    if (!rgn)
        return false;
    CBrush *pBrush = rBrush.GetOrCreatePCBrush();
    bool ok = pBrush && ::FillRgn(h, rgn, static_cast<HBRUSH>(pBrush->m_hObject)) != 0;
    DeleteObject(rgn);
    return ok;
}

bool OutputDevice::FrameRgn(Region const &rRegion, Brush &rBrush, Size const &rSize)
{
    HDC h = GethDC();
    if (!h || rRegion.IsEmpty())
        return false;
    HRGN rgn = rRegion.CreateShapeHRGN();
    if (!rgn)
        return false;
    CBrush *pBrush = rBrush.GetOrCreatePCBrush();
    bool ok = pBrush &&
              ::FrameRgn(h, rgn, static_cast<HBRUSH>(pBrush->m_hObject), rSize.Width(), rSize.Height()) != 0;
    DeleteObject(rgn);
    return ok;
}

// ---------------------------------------------------------------- text

Font OutputDevice::SelectFont()
{
    Font f = m_aFont; // a default one when none is kept
    HDC h = m_hDC;
    m_hOldFont = SelectObject(h, f.GethFont());
    m_nOldTextColor = SetTextColor(h, f.GetColor().GetLong());
    m_nOldBkMode = SetBkMode(h, f.IsTransparent() ? TRANSPARENT : OPAQUE);
    m_nOldBkColor = SetBkColor(h, f.GetFillColor().GetLong());
    if (!m_hInitFont)
        m_hInitFont = m_hOldFont;
    if (!m_bInitTextColor) {
        m_nInitTextColor = m_nOldTextColor;
        m_bInitTextColor = true;
    }
    return f;
}

void OutputDevice::RestoreOldFont()
{
    HDC h = m_hDC;
    if (!h)
        return;
    SetBkMode(h, m_nOldBkMode);
    SetBkColor(h, m_nOldBkColor);
    SelectObject(h, m_hOldFont);
    SetTextColor(h, m_nOldTextColor);
    m_hOldFont = nullptr;
}

bool OutputDevice::DrawTextA(Point const &rPoint, SString const &rStr, unsigned int nStart, unsigned int nLen)
{
    HDC h = GethDC();
    if (!h)
        return false;
    if (rStr.IsUTF8())
        return DrawTextW(rPoint, UString(rStr, nStart, nLen));
    if (rStr.IsTranscript()) {
        UString u;
        u.SetTranscript(rStr, nStart, nLen);
        return DrawTextW(rPoint, u);
    }
    unsigned n = Clip(nStart, nLen, rStr.Len());
    Font keep = SelectFont();
    bool ok = ExtTextOutA(h, rPoint.X(), rPoint.Y(), 0, nullptr, rStr.GetStr() + (n ? nStart : 0), n, nullptr) != 0;
    RestoreOldFont();
    return ok;
}

bool OutputDevice::DrawTextW(Point const &rPoint, UString const &rStr, unsigned int nStart, unsigned int nLen)
{
    HDC h = GethDC();
    if (!h)
        return false;
    unsigned n = Clip(nStart, nLen, rStr.Len());
    Font keep = SelectFont();
    bool ok = ExtTextOutW(h, rPoint.X(), rPoint.Y(), 0, nullptr, rStr.GetStr() + (n ? nStart : 0), n, nullptr) != 0;
    RestoreOldFont();
    return ok;
}

namespace {

// Character advances scaled so that the text ends at nWidth: each advance is
// the difference of two rounded partial extents, so that no rounding error
// accumulates along the line.
template <class Ch, class ExtentFn>
std::vector<INT> StretchedAdvances(HDC h, Ch const *text, unsigned n, unsigned nWidth, ExtentFn extent)
{
    std::vector<INT> partial(n ? n : 1), dx(n);
    SIZE total{};
    if (n == 0 || !extent(h, text, int(n), 0, nullptr, partial.data(), &total) || total.cx <= 0)
        return dx;
    int prev = 0;
    for (unsigned i = 0; i < n; ++i) {
        int end = MulDiv(partial[i], int(nWidth), int(total.cx));
        dx[i] = end - prev;
        prev = end;
    }
    return dx;
}

} // namespace

bool OutputDevice::DrawStretchText(Point const &rPoint, unsigned int nWidth, SString const &rStr,
                                   unsigned int nStart, unsigned int nLen)
{
    HDC h = GethDC();
    if (!h)
        return false;
    unsigned n = Clip(nStart, nLen, rStr.Len());
    char const *text = rStr.GetStr() + (n ? nStart : 0);
    Font keep = SelectFont();
    std::vector<INT> dx = StretchedAdvances(h, text, n, nWidth, GetTextExtentExPointA);
    bool ok = ExtTextOutA(h, rPoint.X(), rPoint.Y(), 0, nullptr, text, n, n ? dx.data() : nullptr) != 0;
    RestoreOldFont();
    return ok;
}

bool OutputDevice::DrawStretchTextW(Point const &rPoint, unsigned int nWidth, UString const &rStr,
                                    unsigned int nStart, unsigned int nLen)
{
    HDC h = GethDC();
    if (!h)
        return false;
    unsigned n = Clip(nStart, nLen, rStr.Len());
    wchar_t const *text = rStr.GetStr() + (n ? nStart : 0);
    Font keep = SelectFont();
    std::vector<INT> dx = StretchedAdvances(h, text, n, nWidth, GetTextExtentExPointW);
    bool ok = ExtTextOutW(h, rPoint.X(), rPoint.Y(), 0, nullptr, text, n, n ? dx.data() : nullptr) != 0;
    RestoreOldFont();
    return ok;
}

namespace {

int CALLBACK CollectFamily(LOGFONTA const *lf, TEXTMETRICA const *, DWORD, LPARAM param)
{
    auto *names = reinterpret_cast<std::vector<SString> *>(param);
    // Families come once per character set: keep the first.
    for (SString const &n : *names)
        if (lstrcmpiA(n.GetStr(), lf->lfFaceName) == 0)
            return 1;
    names->push_back(SString(lf->lfFaceName));
    return 1;
}

struct SizeCollector
{
    std::vector<Size> aSizes;
};

int CALLBACK CollectSize(LOGFONTA const *, TEXTMETRICA const *tm, DWORD type, LPARAM param)
{
    auto *sizes = &reinterpret_cast<SizeCollector *>(param)->aSizes;
    if (!(type & RASTER_FONTTYPE)) {
        sizes->clear();
        return 0; // scalable: any size
    }
    Size s(tm->tmAveCharWidth, tm->tmHeight - tm->tmInternalLeading);
    for (Size const &k : *sizes)
        if (k == s)
            return 1;
    sizes->push_back(s);
    return 1;
}

std::vector<Size> FontSizes(HDC h, SString const &name)
{
    SizeCollector c;
    if (!h || name.Len() == 0 || name.Len() >= LF_FACESIZE)
        return c.aSizes;
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, name.GetStr(), LF_FACESIZE);
    EnumFontFamiliesExA(h, &lf, CollectSize, reinterpret_cast<LPARAM>(&c), 0);
    return c.aSizes;
}

} // namespace

int OutputDevice::GetDevFontCount()
{
    HDC h = GethDC();
    if (!h)
        return 0;
    if (!m_pFontList) {
        m_pFontList = new DevFontList;
        LOGFONTA lf{};
        lf.lfCharSet = DEFAULT_CHARSET;
        EnumFontFamiliesExA(h, &lf, CollectFamily, reinterpret_cast<LPARAM>(&m_pFontList->aNames), 0);
    }
    return int(m_pFontList->aNames.size());
}

SString OutputDevice::GetDevFont(int nIndex)
{
    int const n = GetDevFontCount();
    return nIndex >= 0 && nIndex < n ? m_pFontList->aNames[size_t(nIndex)] : SString();
}

int OutputDevice::GetDevFontSizeCount(SString const &rName)
{
    return int(FontSizes(GethDC(), rName).size());
}

Size OutputDevice::GetDevFontSize(SString const &rName, int nIndex)
{
    std::vector<Size> sizes = FontSizes(GethDC(), rName);
    return nIndex >= 0 && size_t(nIndex) < sizes.size() ? sizes[size_t(nIndex)] : Size();
}

Size OutputDevice::GetTextSize(SString const &rStr, unsigned int nStart, unsigned int nLen)
{
    HDC h = GethDC();
    if (!h)
        return Size();
    unsigned n = Clip(nStart, nLen, rStr.Len());
    Font keep = SelectFont();
    SIZE s{};
    BOOL ok = GetTextExtentPoint32A(h, rStr.GetStr() + (n ? nStart : 0), int(n), &s);
    RestoreOldFont();
    return ok ? Size(s.cx, s.cy) : Size();
}

Size OutputDevice::GetTextSizeW(UString const &rStr, unsigned int nStart, unsigned int nLen)
{
    HDC h = GethDC();
    if (!h)
        return Size();
    unsigned n = Clip(nStart, nLen, rStr.Len());
    Font keep = SelectFont();
    SIZE s{};
    BOOL ok = GetTextExtentPoint32W(h, rStr.GetStr() + (n ? nStart : 0), int(n), &s);
    RestoreOldFont();
    return ok ? Size(s.cx, s.cy) : Size();
}

// ---------------------------------------------------------------- erasing and copying

bool OutputDevice::ImpEraseWithBrush(CRectangle const &rRect, HBRUSH hBrush)
{
    HDC h = GethDC();
    if (!h || rRect.IsEmpty() || !hBrush)
        return false;
    RECT rc = ToRECT(rRect);
    return FillRect(h, &rc, hBrush) != 0;
}

bool OutputDevice::Erase(Color const &rColor, CRectangle const &rRect)
{
    if (rRect.IsEmpty() || !GethDC())
        return false;
    LOGBRUSH lb{BS_SOLID, rColor.GetLong(), 0};
    HBRUSH b = CreateBrushIndirect(&lb);
    bool ok = ImpEraseWithBrush(rRect, b);
    if (b)
        DeleteObject(b);
    return ok;
}

bool OutputDevice::Erase(CRectangle const &rRect)
{
    if (!m_aBackgroundBrush.IsValid())
        return false;
    return Erase(m_aBackgroundBrush.GetColor(), rRect);
}

bool OutputDevice::Erase()
{
    Size s = GetOutputSizePixel();
    if (s.IsEmpty())
        return false;
    return Erase(CRectangle(Point(0, 0), s));
}

bool OutputDevice::DrawOutDev(Point const &rDestPt, Size const &rDestSize, Point const &rSrcPt,
                              Size const &rSrcSize, OutputDevice &rSrc)
{
    HDC h = GethDC();
    HDC s = rSrc.GethDC();
    if (!h || !s || rDestSize.IsEmpty() || rSrcSize.IsEmpty())
        return false;
    if (rDestSize == rSrcSize)
        return BitBlt(h, rDestPt.X(), rDestPt.Y(), rDestSize.Width(), rDestSize.Height(), s, rSrcPt.X(),
                      rSrcPt.Y(), m_nRasterOp) != 0;
    SetStretchBltMode(h, COLORONCOLOR);
    return StretchBlt(h, rDestPt.X(), rDestPt.Y(), rDestSize.Width(), rDestSize.Height(), s, rSrcPt.X(), rSrcPt.Y(),
                      rSrcSize.Width(), rSrcSize.Height(), m_nRasterOp) != 0;
}

bool OutputDevice::DrawOutDev(Point const &rDestPt, Size const &rDestSize, Point const &rSrcPt,
                              Size const &rSrcSize, OutputDevice &rSrc, Color const &rKey)
{
    HDC h = GethDC();
    HDC s = rSrc.GethDC();
    if (!h || !s || rDestSize.IsEmpty() || rSrcSize.IsEmpty())
        return false;
    return TransparentBlt(h, rDestPt.X(), rDestPt.Y(), rDestSize.Width(), rDestSize.Height(), s, rSrcPt.X(),
                          rSrcPt.Y(), rSrcSize.Width(), rSrcSize.Height(), rKey.GetLong()) != 0;
}

// ---------------------------------------------------------------- GDI+

void OutputDevice::IncGdiPlusError()
{
    if (m_nGdiPlusErrors++ == 0)
        MessageBoxA(nullptr, "Error in GDI Plus drawing", "KESTREL Error", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

int OutputDevice::DrawRectHQ(FRectangle const &rRect)
{
    if (rRect.IsEmpty())
        return 0;
    HDC h = GethDC();
    if (!h)
        return 0;
    Color c = m_aPen.IsValid() ? m_aPen.GetColor() : Color(0ul);
    {
        Graphics g(h);
        SolidBrush b(GpColor(c, 255));
        if (g.GetLastStatus() == Ok && g.FillRectangle(&b, GpRect(rRect)) == Ok)
            return 1;
    }
    IncGdiPlusError();
    Brush fill(c, BrushStyleSolid);
    HGDIOBJ old = SelectObject(h, fill.GetOrCreatePCBrush()->m_hObject);
    int r = DrawRect(rRect.GetRectangle()) ? 1 : 0;
    SelectObject(h, old);
    return r;
}

int OutputDevice::DrawRectHQ(FRectangle const &rRect, TransparentColor const &rColor)
{
    if (rRect.IsEmpty())
        return 0;
    HDC h = GethDC();
    if (!h)
        return 0;
    {
        Graphics g(h);
        SolidBrush b(GpColor(rColor));
        if (g.GetLastStatus() == Ok && g.FillRectangle(&b, GpRect(rRect)) == Ok) {
            if (m_aPen.IsValid()) {
                Gdiplus::Pen outline(GpColor(m_aPen.GetColor(), rColor.GetAlpha()), 1.0f);
                g.DrawRectangle(&outline, GpRect(rRect));
            }
            return 1;
        }
    }
    IncGdiPlusError();
    Brush fill(rColor.GetColor(), BrushStyleSolid);
    HGDIOBJ old = SelectObject(h, fill.GetOrCreatePCBrush()->m_hObject);
    int r = DrawRect(rRect.GetRectangle()) ? 1 : 0;
    SelectObject(h, old);
    return r;
}

bool OutputDevice::DrawFrameHQ(FRectangle const &rRect, double fWidth, TransparentColor const &rColor)
{
    if (rRect.IsEmpty())
        return false;
    HDC h = GethDC();
    if (!h)
        return false;
    Graphics g(h);
    Gdiplus::Pen pen(GpColor(rColor), REAL(fWidth));
    pen.SetEndCap(Gdiplus::LineCapRound);
    g.SetSmoothingMode(SmoothingModeHighQuality);
    if (g.GetLastStatus() != Ok || pen.GetLastStatus() != Ok || g.DrawRectangle(&pen, GpRect(rRect)) != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

bool OutputDevice::DrawRoundRect(CRectangle const &rRect, int nDiameter, int nWidth, TransparentColor const &rColor,
                                 bool bGradient)
{
    if (rRect.IsEmpty())
        return false;
    HDC h = GethDC();
    if (!h)
        return false;
    RECT rc = ToRECT(rRect);
    InflateRect(&rc, -nWidth / 2, -nWidth / 2);
    REAL const d = REAL(nDiameter);
    GraphicsPath path;
    if (nDiameter > 0) {
        path.AddArc(REAL(rc.left), REAL(rc.top), d, d, 180.0f, 90.0f);
        path.AddArc(REAL(rc.right) - d, REAL(rc.top), d, d, 270.0f, 90.0f);
        path.AddArc(REAL(rc.right) - d, REAL(rc.bottom) - d, d, d, 0.0f, 90.0f);
        path.AddArc(REAL(rc.left), REAL(rc.bottom) - d, d, d, 90.0f, 90.0f);
    } else {
        path.AddRectangle(RectF(REAL(rc.left), REAL(rc.top), REAL(rc.right - rc.left), REAL(rc.bottom - rc.top)));
    }
    path.CloseFigure();
    Gdiplus::Pen widener(GpColor(rColor), REAL(nWidth > 0 ? nWidth : 1));
    Status st = path.Widen(&widener, nullptr, 0.25f);
    Graphics g(h);
    g.SetSmoothingMode(SmoothingModeHighQuality);
    if (st == Ok && g.GetLastStatus() == Ok) {
        if (!bGradient) {
            SolidBrush b(GpColor(rColor));
            st = g.FillPath(&b, &path);
        } else {
            GraphicsPath outer;
            outer.AddRectangle(Rect(rRect.Left(), rRect.Top(), rRect.GetWidth(), rRect.GetHeight()));
            PathGradientBrush b(&outer);
            Point c = rRect.Center();
            b.SetCenterPoint(PointF(REAL(c.X()), REAL(c.Y())));
            Color dark = rColor.GetColor();
            dark.Darken(45);
            Gdiplus::Color surround = GpColor(dark, rColor.GetAlpha());
            INT count = 1;
            b.SetSurroundColors(&surround, &count);
            b.SetCenterColor(GpColor(rColor));
            st = b.GetLastStatus() == Ok ? g.FillPath(&b, &path) : b.GetLastStatus();
        }
    } else if (st == Ok) {
        st = g.GetLastStatus();
    }
    if (st != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

bool OutputDevice::DrawLineHQ(FPoint const &rFrom, FPoint const &rTo, double fWidth, int nLineCap)
{
    Color c = m_aPen.IsValid() ? m_aPen.GetColor() : Color(0ul);
    return DrawLineHQ(rFrom, rTo, TransparentColor(c, 100), fWidth, nLineCap);
}

bool OutputDevice::DrawLineHQ(FPoint const &rFrom, FPoint const &rTo, TransparentColor const &rColor, double fWidth,
                              int nLineCap)
{
    HDC h = GethDC();
    if (!h)
        return false;
    Graphics g(h);
    g.SetSmoothingMode(SmoothingModeHighQuality);
    Gdiplus::Pen pen(GpColor(rColor), REAL(fWidth));
    pen.SetEndCap(static_cast<LineCap>(nLineCap));
    if (g.GetLastStatus() != Ok || pen.GetLastStatus() != Ok ||
        g.DrawLine(&pen, GpPoint(rFrom), GpPoint(rTo)) != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

bool OutputDevice::DrawArcHQ(FRectangle const &rRect, double fStart, double fSweep, double fWidth,
                             TransparentColor const &rColor)
{
    if (rRect.IsEmpty())
        return false;
    HDC h = GethDC();
    if (!h)
        return false;
    Graphics g(h);
    g.SetSmoothingMode(SmoothingModeHighQuality);
    Gdiplus::Pen pen(GpColor(rColor), REAL(fWidth));
    if (g.GetLastStatus() != Ok || g.DrawArc(&pen, GpRect(rRect), REAL(fStart), REAL(fSweep)) != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

bool OutputDevice::DrawPie(CRectangle const &rRect, double fStart, double fSweep, ColorPair const &rColors)
{
    if (rRect.IsEmpty())
        return false;
    HDC h = GethDC();
    if (!h)
        return false;
    GraphicsPath path;
    path.AddPie(Rect(rRect.Left(), rRect.Top(), rRect.GetWidth(), rRect.GetHeight()), REAL(fStart), REAL(fSweep));
    PathGradientBrush b(&path);
    Point c = rRect.Center();
    b.SetCenterPoint(PointF(REAL(c.X()), REAL(c.Y())));
    b.SetCenterColor(GpColor(rColors[0], 255));
    Gdiplus::Color rim = GpColor(rColors[1], 255);
    INT count = 1;
    b.SetSurroundColors(&rim, &count);
    Graphics g(h);
    g.SetSmoothingMode(SmoothingModeHighQuality);
    if (g.GetLastStatus() != Ok || b.GetLastStatus() != Ok || g.FillPath(&b, &path) != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

bool OutputDevice::DrawSplineHQ(FPolygon const &rPoly, double fWidth, TransparentColor const &rColor)
{
    HDC h = GethDC();
    if (!h)
        return false;
    std::vector<PointF> in, out;
    for (unsigned i = 0; i < rPoly.Count(); ++i)
        in.push_back(GpPoint(rPoly[i]));
    if (!Curve(in, out))
        return false;
    GraphicsPath path;
    Graphics g(h);
    g.SetSmoothingMode(SmoothingModeHighQuality);
    Gdiplus::Pen pen(GpColor(rColor), REAL(fWidth));
    if (path.AddBeziers(out.data(), INT(out.size())) != Ok || g.GetLastStatus() != Ok ||
        g.DrawPath(&pen, &path) != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

namespace {

// The arrow's shaft end (where the head starts) and the head's triangle.
bool ArrowGeometry(FPoint const &from, FPoint const &to, double width, PointF &shaftEnd, PointF head[3])
{
    double dx = to.X() - from.X(), dy = to.Y() - from.Y();
    double len = std::hypot(dx, dy);
    if (!(len > 0.0))
        return false;
    double const headLen = width * 3 < 6 ? 6 : width * 3;
    double ux = dx / len, uy = dy / len;
    double bx = to.X() - ux * headLen, by = to.Y() - uy * headLen;
    double nx = -uy * headLen / 2, ny = ux * headLen / 2;
    shaftEnd = PointF(REAL(bx), REAL(by));
    head[0] = PointF(REAL(to.X()), REAL(to.Y()));
    head[1] = PointF(REAL(bx + nx), REAL(by + ny));
    head[2] = PointF(REAL(bx - nx), REAL(by - ny));
    return true;
}

Status DrawArrowWith(Graphics &g, Gdiplus::Brush const &b, FPoint const &from, FPoint const &to, double width)
{
    PointF shaftEnd, head[3];
    if (!ArrowGeometry(from, to, width, shaftEnd, head))
        return InvalidParameter;
    g.SetSmoothingMode(SmoothingModeHighQuality);
    Gdiplus::Pen shaft(&b, REAL(width));
    Status st = g.DrawLine(&shaft, GpPoint(from), shaftEnd);
    return st == Ok ? g.FillPolygon(&b, head, 3) : st;
}

} // namespace

bool OutputDevice::DrawArrow(FPoint const &rFrom, FPoint const &rTo, double fWidth, TransparentColor const &rColor)
{
    HDC h = GethDC();
    if (!h || (rFrom == rTo))
        return false;
    Graphics g(h);
    SolidBrush b(GpColor(rColor));
    if (g.GetLastStatus() != Ok || DrawArrowWith(g, b, rFrom, rTo, fWidth) != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

bool OutputDevice::DrawArrowGradient(FPoint const &rFrom, FPoint const &rTo, double fWidth, ColorPair const &rColors)
{
    HDC h = GethDC();
    if (!h || (rFrom == rTo))
        return false;
    Graphics g(h);
    LinearGradientBrush b(GpPoint(rFrom), GpPoint(rTo), GpColor(rColors[0], 255), GpColor(rColors[1], 255));
    if (g.GetLastStatus() != Ok || b.GetLastStatus() != Ok || DrawArrowWith(g, b, rFrom, rTo, fWidth) != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

bool OutputDevice::DrawRing(FPoint const &rCenter, double fOuterRadius, double fInnerRadius,
                            TransparentColor const &rColor)
{
    HDC h = GethDC();
    if (!h || !(fOuterRadius > 0.0) || !(fInnerRadius < fOuterRadius))
        return false;
    GraphicsPath path(FillModeAlternate);
    REAL const cx = REAL(rCenter.X()), cy = REAL(rCenter.Y()), ro = REAL(fOuterRadius), ri = REAL(fInnerRadius);
    path.AddEllipse(cx - ro, cy - ro, 2 * ro, 2 * ro);
    if (fInnerRadius > 0.0)
        path.AddEllipse(cx - ri, cy - ri, 2 * ri, 2 * ri);
    Graphics g(h);
    g.SetSmoothingMode(SmoothingModeHighQuality);
    SolidBrush b(GpColor(rColor));
    if (g.GetLastStatus() != Ok || g.FillPath(&b, &path) != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

bool OutputDevice::DrawEllipseHQ(FRectangle const &rRect, TransparentColor const &rFill)
{
    if (rRect.IsEmpty())
        return false;
    HDC h = GethDC();
    if (!h)
        return false;
    Graphics g(h);
    SolidBrush b(GpColor(rFill));
    Status st = g.GetLastStatus();
    if (st == Ok)
        st = g.FillEllipse(&b, GpRect(rRect));
    if (st == Ok && m_aPen.IsValid() && m_aPen.GetStyle() != PS_NULL) {
        g.SetSmoothingMode(SmoothingModeHighQuality);
        Gdiplus::Pen pen(GpColor(m_aPen.GetColor(), rFill.GetAlpha()), 1.0f);
        st = g.DrawEllipse(&pen, GpRect(rRect));
    }
    if (st != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

namespace {

Status DrawPolygonWith(Graphics &g, FPolygon const &poly, Gdiplus::Color const *fill, ::Pen const &outline)
{
    std::vector<PointF> pts;
    for (unsigned i = 0; i < poly.Count(); ++i)
        pts.push_back(GpPoint(poly[i]));
    if (pts.size() < 2)
        return InvalidParameter;
    Status st = Ok;
    if (fill) {
        g.SetSmoothingMode(SmoothingModeAntiAlias);
        SolidBrush b(*fill);
        st = g.FillPolygon(&b, pts.data(), INT(pts.size()));
    }
    if (st == Ok && outline.IsValid() && outline.GetStyle() != PS_NULL) {
        g.SetSmoothingMode(SmoothingModeHighQuality);
        Gdiplus::Pen pen(GpColor(outline.GetColor(), fill ? fill->GetA() : 255),
                         REAL(outline.GetWidth() > 0 ? outline.GetWidth() : 1));
        st = g.DrawPolygon(&pen, pts.data(), INT(pts.size()));
    }
    return st;
}

} // namespace

bool OutputDevice::DrawPolygonHQ(FPolygon const &rPoly)
{
    HDC h = GethDC();
    if (!h || rPoly.Count() < 2)
        return false;
    Graphics g(h);
    Gdiplus::Color fill;
    bool const hasFill = m_aFillBrush.IsValid() && m_aFillBrush.GetStyle() != BrushStyleNull;
    if (hasFill)
        fill = GpColor(m_aFillBrush.GetColor(), 255);
    if (g.GetLastStatus() != Ok || DrawPolygonWith(g, rPoly, hasFill ? &fill : nullptr, m_aPen) != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

bool OutputDevice::DrawPolygonHQ(FPolygon const &rPoly, TransparentColor const &rFill)
{
    HDC h = GethDC();
    if (!h || rPoly.Count() < 2)
        return false;
    Graphics g(h);
    Gdiplus::Color fill = GpColor(rFill);
    if (g.GetLastStatus() != Ok || DrawPolygonWith(g, rPoly, &fill, m_aPen) != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

bool OutputDevice::FillTransparentPolygon(CPolygon const &rPoly, TransparentColor const &rColor)
{
    HDC h = GethDC();
    if (!h || rPoly.Count() < 3)
        return false;
    std::vector<Gdiplus::Point> pts;
    for (unsigned i = 0; i < rPoly.Count(); ++i)
        pts.emplace_back(rPoly[i].X(), rPoly[i].Y());
    Graphics g(h);
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    SolidBrush b(GpColor(rColor));
    if (g.GetLastStatus() != Ok || g.FillPolygon(&b, pts.data(), INT(pts.size())) != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

bool OutputDevice::EraseTransparent(CRectangle const &rRect, TransparentColor const &rColor)
{
    if (rRect.IsEmpty())
        return false;
    HDC h = GethDC();
    if (!h)
        return false;
    Graphics g(h);
    SolidBrush b(GpColor(rColor));
    if (g.GetLastStatus() != Ok ||
        g.FillRectangle(&b, Rect(rRect.Left(), rRect.Top(), rRect.GetWidth(), rRect.GetHeight())) != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

int OutputDevice::DrawTextWHQImpl(FPoint const &rPoint, UString const &rStr, int nOpacity, bool bVertical)
{
    HDC h = GethDC();
    if (!h)
        return GenericError;
    Font f = m_aFont;
    // The platform font is selected so that GDI+ can fall back to it.
    HGDIOBJ oldFont = SelectObject(h, f.GethFont());
    GpFontHolder font(h, f);
    SelectObject(h, oldFont);
    GpGraphicsHolder g(h);
    GpSolidFill *brush = nullptr;
    Status st = g.GetStatus();
    if (st == Ok && !font.Get())
        st = GenericError;
    if (st == Ok)
        st = DllExports::GdipCreateSolidFill(GpColor(f.GetColor(), unsigned(nOpacity * 255 / 100) & 0xFF).GetValue(),
                                             &brush);
    if (st == Ok) {
        KSData *data = GetPKSData();
        bool const clearType = f.GetHeight() < 21 && data && data->CanClearType();
        DllExports::GdipSetTextRenderingHint(g.Get(), clearType ? TextRenderingHintClearTypeGridFit
                                                                : TextRenderingHintAntiAliasGridFit);
        RectF layout(REAL(rPoint.X()), REAL(rPoint.Y()), 0.0f, 0.0f);
        // A column is one character per line: the platform's vertical
        // direction flag is not honoured everywhere (Wine draws a row).
        std::wstring column;
        if (bVertical)
            for (int i = 0; i < rStr.Len(); ++i) {
                if (i)
                    column += L'\n';
                column += rStr.GetStr()[i];
            }
        st = bVertical ? DllExports::GdipDrawString(g.Get(), column.c_str(), INT(column.size()), font.Get(), &layout,
                                                    TypographicFormat(), brush)
                       : DllExports::GdipDrawString(g.Get(), rStr.GetStr(), rStr.Len(), font.Get(), &layout,
                                                    TypographicFormat(), brush);
    }
    if (brush)
        DllExports::GdipDeleteBrush(brush);
    return st;
}

bool OutputDevice::DrawTextWHQ(FPoint const &rPoint, UString const &rStr, int nOpacity)
{
    if (!GethDC())
        return false;
    if (DrawTextWHQImpl(rPoint, rStr, nOpacity) != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

bool OutputDevice::DrawTextHQVertical(FPoint const &rPoint, UString const &rStr, int nOpacity)
{
    if (!GethDC())
        return false;
    if (DrawTextWHQImpl(rPoint, rStr, nOpacity, true) != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

bool OutputDevice::DrawTextHQ(FPoint const &rPoint, SString const &rStr, int nOpacity)
{
    return DrawTextWHQ(rPoint, UString(rStr), nOpacity);
}

FSize OutputDevice::GetTextSizeWHQ(UString const &rStr)
{
    HDC h = GethDC();
    if (!h || rStr.Len() == 0)
        return FSize();
    Font f = m_aFont;
    HGDIOBJ oldFont = SelectObject(h, f.GethFont());
    GpFontHolder font(h, f);
    SelectObject(h, oldFont);
    GpGraphicsHolder g(h);
    GpStringFormat *format = nullptr;
    GpRegion *region = nullptr;
    Status st = g.GetStatus();
    if (st == Ok && !font.Get())
        st = GenericError;
    if (st == Ok)
        st = DllExports::GdipCloneStringFormat(TypographicFormat(), &format);
    CharacterRange range(0, rStr.Len());
    if (st == Ok)
        st = DllExports::GdipSetStringFormatMeasurableCharacterRanges(format, 1, &range);
    if (st == Ok)
        st = DllExports::GdipCreateRegion(&region);
    RectF bounds;
    if (st == Ok) {
        RectF layout(0.0f, 0.0f, 1.0e6f, 1.0e6f);
        st = DllExports::GdipMeasureCharacterRanges(g.Get(), rStr.GetStr(), rStr.Len(), font.Get(), layout, format,
                                                    1, &region);
    }
    if (st == Ok)
        st = DllExports::GdipGetRegionBounds(region, g.Get(), &bounds);
    if (region)
        DllExports::GdipDeleteRegion(region);
    if (format)
        DllExports::GdipDeleteStringFormat(format);
    if (st != Ok) {
        IncGdiPlusError();
        return FSize();
    }
    return FSize(bounds.Width, bounds.Height);
}

FSize OutputDevice::GetTextSizeHQ(SString const &rStr)
{
    return GetTextSizeWHQ(UString(rStr));
}

// ---------------------------------------------------------------- Direct2D and imaging

ID2D1Factory *OutputDevice::GetD2DFactory()
{
    if (!m_pD2DFactory)
        D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                          reinterpret_cast<void **>(&m_pD2DFactory));
    return m_pD2DFactory;
}

ID2D1DCRenderTarget *OutputDevice::GetRenderTarget()
{
    if (!m_pRenderTarget) {
        ID2D1Factory *f = GetD2DFactory();
        if (!f)
            return nullptr;
        D2D1_RENDER_TARGET_PROPERTIES props = D2D1::RenderTargetProperties(
            D2D1_RENDER_TARGET_TYPE_DEFAULT, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED),
            0.0f, 0.0f);
        // A driver without Direct2D (Wine's null driver: no GL) refuses every
        // target with DXGI_ERROR_UNSUPPORTED, and each refused attempt costs
        // heap that is never given back: ask once per process.
        static volatile long s_bUnsupported = 0;
        if (s_bUnsupported)
            return nullptr;
        HRESULT hr = f->CreateDCRenderTarget(&props, &m_pRenderTarget);
        if (FAILED(hr)) {
            m_pRenderTarget = nullptr;
            if (hr == HRESULT(0x887A0004))
                InterlockedExchange(&s_bUnsupported, 1);
        }
    }
    return m_pRenderTarget;
}

IDWriteFactory *OutputDevice::GetWriteFactory()
{
    if (!m_pWriteFactory)
        DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                            reinterpret_cast<IUnknown **>(&m_pWriteFactory));
    return m_pWriteFactory;
}

IWICImagingFactory *OutputDevice::GetWicFactory()
{
    if (!m_pWicFactory &&
        FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void **>(&m_pWicFactory))))
        m_pWicFactory = nullptr;
    return m_pWicFactory;
}

void OutputDevice::ReleaseD2D()
{
    ReleaseCom(m_pRenderTarget);
    ReleaseCom(m_pD2DFactory);
}

// ---------------------------------------------------------------- effects

namespace {

// The pixels of an area as 32-bit BGRA, alpha made opaque: GDI leaves it 0.
class AreaPixels
{
public:
    AreaPixels(HDC hDC, CRectangle const &r) : m_r(r), m_w(r.GetWidth()), m_h(r.GetHeight())
    {
        if (m_w <= 0 || m_h <= 0)
            return;
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = m_w;
        bi.bmiHeader.biHeight = -m_h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void *bits = nullptr;
        HDC mem = CreateCompatibleDC(hDC);
        HBITMAP dib = mem ? CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
        if (dib) {
            HGDIOBJ old = SelectObject(mem, dib);
            if (BitBlt(mem, 0, 0, m_w, m_h, hDC, r.Left(), r.Top(), SRCCOPY)) {
                GdiFlush();
                auto const *src = static_cast<unsigned const *>(bits);
                m_px.assign(src, src + size_t(m_w) * size_t(m_h));
                for (unsigned &p : m_px)
                    p |= 0xFF000000u;
            }
            SelectObject(mem, old);
            DeleteObject(dib);
        }
        if (mem)
            ::DeleteDC(mem);
    }
    bool IsValid() const { return !m_px.empty(); }
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    unsigned *Data() { return m_px.data(); }
    unsigned &At(int x, int y) { return m_px[size_t(y) * size_t(m_w) + size_t(x)]; }
    bool WriteBack(HDC hDC)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = m_w;
        bi.bmiHeader.biHeight = -m_h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        return SetDIBitsToDevice(hDC, m_r.Left(), m_r.Top(), DWORD(m_w), DWORD(m_h), 0, 0, 0, UINT(m_h),
                                 m_px.data(), &bi, DIB_RGB_COLORS) != 0;
    }

private:
    CRectangle m_r;
    int m_w, m_h;
    std::vector<unsigned> m_px;
};

// Larger deviations are taken as this one: the kernel would only repeat the
// edge pixels further, at a cost that grows with it.
double const MAX_BLUR_DEVIATION = 100.0;

std::vector<float> GaussKernel(double sigma)
{
    int const radius = int(std::ceil(sigma * 3.0));
    std::vector<float> k(size_t(2 * radius + 1));
    double sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += k[size_t(i + radius)] = float(std::exp(-(i * i) / (2.0 * sigma * sigma)));
    for (float &v : k)
        v = float(v / sum);
    return k;
}

// Separable Gaussian blur of every channel; beyond the edges the edge pixels
// repeat, so a uniform area stays as it is.
void BlurPixels(unsigned *px, int w, int h, double sigma)
{
    if (!(sigma > 0.0) || w <= 0 || h <= 0)
        return;
    if (sigma > MAX_BLUR_DEVIATION)
        sigma = MAX_BLUR_DEVIATION;
    std::vector<float> const k = GaussKernel(sigma);
    int const radius = int(k.size() / 2);
    std::vector<float> tmp(size_t(w) * size_t(h) * 4);
    auto channel = [](unsigned p, int c) { return float((p >> (8 * c)) & 0xFF); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 4; ++c) {
                float acc = 0;
                for (int i = -radius; i <= radius; ++i) {
                    int xx = x + i < 0 ? 0 : x + i >= w ? w - 1 : x + i;
                    acc += k[size_t(i + radius)] * channel(px[size_t(y) * w + xx], c);
                }
                tmp[(size_t(y) * w + x) * 4 + c] = acc;
            }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned out = 0;
            for (int c = 0; c < 4; ++c) {
                float acc = 0;
                for (int i = -radius; i <= radius; ++i) {
                    int yy = y + i < 0 ? 0 : y + i >= h ? h - 1 : y + i;
                    acc += k[size_t(i + radius)] * tmp[(size_t(yy) * w + x) * 4 + c];
                }
                int v = int(acc + 0.5f);
                out |= unsigned(v < 0 ? 0 : v > 255 ? 255 : v) << (8 * c);
            }
            px[size_t(y) * w + x] = out;
        }
}

} // namespace

// Whether the platform's effect can be made on this target, asked once per
// process and effect: Wine lacks some effects altogether and renders others
// as nothing, so an effect is only used when a tiny trial draws something.
static bool EffectUsable(ID2D1DCRenderTarget *rt, REFCLSID id, volatile long &known)
{
    if (known)
        return known > 0;
    if (!rt)
        return false;
    long usable = -1;
    ID2D1DeviceContext *dc = nullptr;
    ID2D1Effect *effect = nullptr;
    if (SUCCEEDED(rt->QueryInterface(__uuidof(ID2D1DeviceContext), reinterpret_cast<void **>(&dc))) && dc &&
        SUCCEEDED(dc->CreateEffect(id, &effect)) && effect) {
        // The trial: the effect of an opaque black 4 x 4 square on white,
        // drawn through a target of its own.
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = 16;
        bi.bmiHeader.biHeight = -16;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void *bits = nullptr;
        HDC mem = CreateCompatibleDC(nullptr);
        HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (dib) {
            HGDIOBJ old = SelectObject(mem, dib);
            auto *px = static_cast<unsigned *>(bits);
            for (int i = 0; i < 256; ++i)
                px[i] = 0xFFFFFFFFu;
            RECT area{0, 0, 16, 16};
            ID2D1Bitmap *square = nullptr;
            std::vector<unsigned> black(16, 0xFF000000u);
            D2D1_BITMAP_PROPERTIES props =
                D2D1::BitmapProperties(D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED));
            if (rt->BindDC(mem, &area) == S_OK &&
                SUCCEEDED(dc->CreateBitmap(D2D1::SizeU(4, 4), black.data(), 16, &props, &square))) {
                effect->SetInput(0, square);
                rt->BeginDraw();
                rt->Clear(D2D1::ColorF(1.0f, 1.0f, 1.0f, 1.0f));
                D2D1_POINT_2F at = D2D1::Point2F(6, 6);
                dc->DrawImage(effect, &at);
                if (SUCCEEDED(rt->EndDraw())) {
                    GdiFlush();
                    usable = (px[8 * 16 + 8] & 0xFF) < 0x80 ? 1 : -1;
                }
                square->Release();
            }
            SelectObject(mem, old);
            DeleteObject(dib);
        }
        ::DeleteDC(mem);
    }
    if (effect)
        effect->Release();
    if (dc)
        dc->Release();
    InterlockedExchange(&known, usable);
    return usable > 0;
}

// Runs one Direct2D drawing on the device's DC render target bound to the
// area; the target paints what it does not draw black, so the drawing must
// cover the whole area. Answers false without Direct2D or without the
// effect, after which the caller works on the pixels itself.
template <class F> static bool WithD2D(OutputDevice &dev, ID2D1DCRenderTarget *rt, HDC h, RECT const &area, F draw,
                                      bool &recreate)
{
    recreate = false;
    if (!rt || rt->BindDC(h, &area) != S_OK)
        return false;
    ID2D1DeviceContext *dc = nullptr;
    if (FAILED(rt->QueryInterface(__uuidof(ID2D1DeviceContext), reinterpret_cast<void **>(&dc))) || !dc)
        return false;
    rt->BeginDraw();
    rt->SetTransform(D2D1::Matrix3x2F::Identity());
    bool drawn = draw(dc);
    HRESULT hr = rt->EndDraw();
    dc->Release();
    (void)dev;
    if (hr == HRESULT(0x8899000C))
        recreate = true;
    return drawn && SUCCEEDED(hr);
}

bool OutputDevice::DrawGradient(ColorPair &rColors)
{
    HDC h = GethDC();
    Size s = GetOutputSizePixel();
    if (!h || s.IsEmpty())
        return false;
    RECT area{0, 0, s.Width(), s.Height()};
    auto colour = [](Color const &c) {
        return D2D1::ColorF(float(c.Get8BitRed() / 255.0), float(c.Get8BitGreen() / 255.0),
                            float(c.Get8BitBlue() / 255.0), 1.0f);
    };
    bool recreate = false;
    bool ok = WithD2D(
        *this, GetRenderTarget(), h, area,
        [&](ID2D1DeviceContext *dc) {
            D2D1_GRADIENT_STOP stops[2] = {{0.0f, colour(rColors[0])}, {1.0f, colour(rColors[1])}};
            ID2D1GradientStopCollection *coll = nullptr;
            ID2D1LinearGradientBrush *brush = nullptr;
            bool done = false;
            if (SUCCEEDED(dc->CreateGradientStopCollection(stops, 2, &coll)) &&
                SUCCEEDED(dc->CreateLinearGradientBrush(
                    D2D1::LinearGradientBrushProperties(D2D1::Point2F(0, 0), D2D1::Point2F(0, float(s.Height()))),
                    coll, &brush))) {
                dc->FillRectangle(D2D1::RectF(0, 0, float(s.Width()), float(s.Height())), brush);
                done = true;
            }
            ReleaseCom(brush);
            ReleaseCom(coll);
            return done;
        },
        recreate);
    if (recreate)
        ReleaseD2D();
    if (ok)
        return true;
    // Without Direct2D: the same gradient through GDI+.
    Graphics g(h);
    LinearGradientBrush b(Gdiplus::Point(0, 0), Gdiplus::Point(0, s.Height()), GpColor(rColors[0], 255),
                          GpColor(rColors[1], 255));
    if (g.GetLastStatus() != Ok || g.FillRectangle(&b, Rect(0, 0, s.Width(), s.Height())) != Ok) {
        IncGdiPlusError();
        return false;
    }
    return true;
}

bool OutputDevice::BlurEffect(CRectangle const &rRect, double fStdDev)
{
    HDC h = GethDC();
    if (!h || rRect.IsEmpty() || !(fStdDev >= 0.0))
        return false;
    if (fStdDev > MAX_BLUR_DEVIATION)
        fStdDev = MAX_BLUR_DEVIATION;
    AreaPixels px(h, rRect);
    if (!px.IsValid())
        return false;
    if (fStdDev == 0.0)
        return true;
    RECT area = ToRECT(rRect);
    bool recreate = false;
    static volatile long s_nBlurUsable = 0;
    bool ok = EffectUsable(GetRenderTarget(), CLSID_D2D1GaussianBlur, s_nBlurUsable) && WithD2D(
        *this, GetRenderTarget(), h, area,
        [&](ID2D1DeviceContext *dc) {
            ID2D1Effect *blur = nullptr;
            ID2D1Bitmap *source = nullptr;
            bool done = false;
            D2D1_BITMAP_PROPERTIES props =
                D2D1::BitmapProperties(D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED));
            if (SUCCEEDED(dc->CreateEffect(CLSID_D2D1GaussianBlur, &blur)) &&
                SUCCEEDED(dc->CreateBitmap(D2D1::SizeU(UINT32(px.Width()), UINT32(px.Height())), px.Data(),
                                           UINT32(px.Width() * 4), &props, &source))) {
                float const sd = float(fStdDev);
                UINT32 const hard = 1; // D2D1_BORDER_MODE_HARD: edge pixels repeat
                blur->SetInput(0, source);
                blur->SetValue(0, D2D1_PROPERTY_TYPE_FLOAT, reinterpret_cast<BYTE const *>(&sd), sizeof sd);
                blur->SetValue(2, D2D1_PROPERTY_TYPE_ENUM, reinterpret_cast<BYTE const *>(&hard), sizeof hard);
                dc->DrawImage(blur);
                done = true;
            }
            ReleaseCom(source);
            ReleaseCom(blur);
            return done;
        },
        recreate);
    if (recreate)
        ReleaseD2D();
    if (ok)
        return true;
    BlurPixels(px.Data(), px.Width(), px.Height(), fStdDev);
    return px.WriteBack(h);
}

bool OutputDevice::ShadowEffect(CRectangle const &rRect, int nOffset, double fStdDev, Color const &rColor)
{
    HDC h = GethDC();
    if (!h || rRect.IsEmpty() || !(fStdDev >= 0.0) || nOffset < 0)
        return false;
    if (fStdDev > MAX_BLUR_DEVIATION)
        fStdDev = MAX_BLUR_DEVIATION;
    // The area the shadow can reach: the rectangle moved by the offset and
    // grown by the blur's reach.
    int const reach = int(std::ceil(fStdDev * 3.0));
    CRectangle area(rRect.Left(), rRect.Top(), rRect.Right() + nOffset + reach, rRect.Bottom() + nOffset + reach);
    area.Left() += nOffset - reach < 0 ? nOffset - reach : 0;
    area.Top() += nOffset - reach < 0 ? nOffset - reach : 0;
    Size out = GetOutputSizePixel();
    if (!out.IsEmpty())
        area.Intersection(CRectangle(Point(0, 0), out));
    if (area.IsEmpty())
        return false;
    AreaPixels px(h, area);
    if (!px.IsValid())
        return false;
    int const rx = rRect.Left() - area.Left(), ry = rRect.Top() - area.Top();
    int const rw = rRect.GetWidth(), rh = rRect.GetHeight();
    RECT bound = ToRECT(area);
    bool recreate = false;
    static volatile long s_nShadowUsable = 0;
    bool ok = EffectUsable(GetRenderTarget(), CLSID_D2D1Shadow, s_nShadowUsable) && WithD2D(
        *this, GetRenderTarget(), h, bound,
        [&](ID2D1DeviceContext *dc) {
            ID2D1Effect *shadow = nullptr;
            ID2D1Bitmap *background = nullptr, *mask = nullptr;
            bool done = false;
            D2D1_BITMAP_PROPERTIES props =
                D2D1::BitmapProperties(D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED));
            std::vector<unsigned> opaque(size_t(rw) * size_t(rh), 0xFF000000u);
            if (SUCCEEDED(dc->CreateEffect(CLSID_D2D1Shadow, &shadow)) &&
                SUCCEEDED(dc->CreateBitmap(D2D1::SizeU(UINT32(px.Width()), UINT32(px.Height())), px.Data(),
                                           UINT32(px.Width() * 4), &props, &background)) &&
                SUCCEEDED(dc->CreateBitmap(D2D1::SizeU(UINT32(rw), UINT32(rh)), opaque.data(), UINT32(rw * 4), &props,
                                           &mask))) {
                float const sd = float(fStdDev);
                D2D1_VECTOR_4F colour{float(rColor.GetFRed()), float(rColor.GetFGreen()), float(rColor.GetFBlue()),
                                      1.0f};
                shadow->SetInput(0, mask);
                shadow->SetValue(D2D1_SHADOW_PROP_BLUR_STANDARD_DEVIATION, D2D1_PROPERTY_TYPE_FLOAT,
                                 reinterpret_cast<BYTE const *>(&sd), sizeof sd);
                shadow->SetValue(D2D1_SHADOW_PROP_COLOR, D2D1_PROPERTY_TYPE_VECTOR4,
                                 reinterpret_cast<BYTE const *>(&colour), sizeof colour);
                dc->DrawBitmap(background);
                D2D1_POINT_2F at = D2D1::Point2F(float(rx + nOffset), float(ry + nOffset));
                dc->DrawImage(shadow, &at);
                // The rectangle's own pixels lie above their shadow.
                D2D1_RECT_F dst = D2D1::RectF(float(rx), float(ry), float(rx + rw), float(ry + rh));
                dc->DrawBitmap(background, &dst, 1.0f, D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR, &dst);
                done = true;
            }
            ReleaseCom(mask);
            ReleaseCom(background);
            ReleaseCom(shadow);
            return done;
        },
        recreate);
    if (recreate)
        ReleaseD2D();
    if (ok)
        return true;

    // Our own: the rectangle's coverage, blurred, moved, blended in the colour.
    int const w = px.Width(), hh = px.Height();
    std::vector<unsigned> cover(size_t(w) * size_t(hh), 0);
    for (int y = ry + nOffset; y < ry + nOffset + rh && y < hh; ++y)
        for (int x = rx + nOffset; x < rx + nOffset + rw && x < w; ++x)
            if (x >= 0 && y >= 0)
                cover[size_t(y) * w + x] = 0xFF;
    BlurPixels(cover.data(), w, hh, fStdDev);
    unsigned const cr = rColor.Get8BitRed(), cg = rColor.Get8BitGreen(), cb = rColor.Get8BitBlue();
    for (int y = 0; y < hh; ++y)
        for (int x = 0; x < w; ++x) {
            if (x >= rx && x < rx + rw && y >= ry && y < ry + rh)
                continue;
            unsigned a = cover[size_t(y) * w + x] & 0xFF;
            unsigned &p = px.At(x, y);
            auto mix = [a](unsigned under, unsigned over) { return (over * a + under * (255 - a) + 127) / 255; };
            p = 0xFF000000u | mix((p >> 16) & 0xFF, cr) << 16 | mix((p >> 8) & 0xFF, cg) << 8 | mix(p & 0xFF, cb);
        }
    return px.WriteBack(h);
}
