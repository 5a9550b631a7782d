#include "graphics/OutputDevice.h"

#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "graphics/Bitmap.h"
#include "graphics/DCManager.h"
#include "graphics/Printer.h"
#include "graphics/RectGradient.h"
#include "mfc/CBrush.h"
#include "mfc/CPen.h"

#include <cmath>
#include <new>
#include <string>
#include <vector>
#include <windows.h>
#include <gdiplus.h>

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
    : m_hDC(nullptr), m_bExternal(false), m_nDevKind(OutputDeviceWindow), m_nRasterOp(SRCCOPY), m_pBackgroundBitmap(nullptr),
      m_pBackgroundGradient(nullptr),
      m_hInitPen(nullptr),
      m_hInitBrush(nullptr), m_hInitFont(nullptr), m_nInitTextColor(0), m_bInitTextColor(false),
      m_nGdiPlusErrors(0), m_pD2DFactory(nullptr), m_pRenderTarget(nullptr), m_pWriteFactory(nullptr),
      m_pWicFactory(nullptr), m_pFontList(nullptr), m_pKernArr(nullptr), m_nKernArrLen(0), m_hOldFont(nullptr), m_nOldTextColor(0), m_nOldBkColor(0), m_nOldBkMode(0)
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
    ReleaseFactories();
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

namespace {

// The tool selected in the HDC, read through its MFC wrapper, which must not
// take the platform object over.
template <class Tool, class Wrap> Tool SelectedTool(HDC h, UINT nType)
{
    Wrap wrap;
    wrap.Attach(GetCurrentObject(h, nType));
    Tool tool(&wrap);
    wrap.Detach();
    return tool;
}

} // namespace

Pen OutputDevice::GetPen()
{
    if (!m_aPen.IsValid()) {
        HDC h = GethDC();
        if (!h)
            return Pen();
        m_aPen = SelectedTool<Pen, CPen>(h, OBJ_PEN);
    }
    return m_aPen;
}

Brush OutputDevice::GetFillInBrush()
{
    if (!m_aFillBrush.IsValid()) {
        HDC h = GethDC();
        if (!h)
            return Brush();
        m_aFillBrush = SelectedTool<Brush, CBrush>(h, OBJ_BRUSH);
    }
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
    delete m_pBackgroundBitmap;
    m_pBackgroundBitmap = nullptr;
    delete m_pBackgroundGradient;
    m_pBackgroundGradient = nullptr;
    m_hInitFont = nullptr;
    m_bInitTextColor = false;
    m_nInitTextColor = 0;
    delete m_pFontList;
    m_pFontList = nullptr;
    delete[] m_pKernArr;
    m_pKernArr = nullptr;
    m_nKernArrLen = 0;
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

bool OutputDevice::GetFontMetric(TEXTMETRICW &rMetric)
{
    HDC h = GethDC();
    if (!h)
        return false;
    Font keep = SelectFont();
    bool ok = GetTextMetricsW(h, &rMetric) != 0;
    RestoreOldFont();
    return ok;
}

bool OutputDevice::GetGlyphMetric(wchar_t cChar, GLYPHMETRICS &rMetric)
{
    HDC h = GethDC();
    if (!h)
        return false;
    Font keep = SelectFont();
    // The platform answers the metrics of the font's default glyph for a
    // character the font lacks: the glyph index tells them apart.
    WORD index = 0xFFFF;
    MAT2 const identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    bool ok = GetGlyphIndicesW(h, &cChar, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == 1 && index != 0xFFFF &&
              GetGlyphOutlineW(h, cChar, GGO_METRICS, &rMetric, 0, nullptr, &identity) != GDI_ERROR;
    RestoreOldFont();
    return ok;
}

int OutputDevice::FillKernArr(UString const &rStr, unsigned int nStart, unsigned int nLen)
{
    HDC h = GethDC();
    if (!h)
        return 0;
    delete[] m_pKernArr;
    m_pKernArr = nullptr;
    m_nKernArrLen = 0;
    unsigned const n = Clip(nStart, nLen, rStr.Len());
    if (n == 0)
        return 0;
    // Each width is the difference of two partial extents, so that the
    // widths carry whatever the platform's measure does with pairs and add
    // up to the extent (Wine's extents apply no kerning pairs).
    std::vector<INT> partial(n);
    SIZE total{};
    Font keep = SelectFont();
    BOOL ok = GetTextExtentExPointW(h, rStr.GetStr() + nStart, int(n), 0, nullptr, partial.data(), &total);
    RestoreOldFont();
    if (!ok || !(m_pKernArr = new (std::nothrow) int[n]))
        return 0;
    for (unsigned i = 0; i < n; ++i)
        m_pKernArr[i] = partial[i] - (i ? partial[i - 1] : 0);
    m_nKernArrLen = n;
    return int(n);
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
    if (m_pBackgroundBitmap)
        return Erase(*m_pBackgroundBitmap, rRect);
    if (m_aBackgroundBrush.IsValid())
        return Erase(m_aBackgroundBrush.GetColor(), rRect);
    if (m_pBackgroundGradient)
        return Erase(m_pBackgroundGradient->GetAverageColor(), rRect);
    return false;
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

bool OutputDevice::GdiPlusDone(int nStatus)
{
    if (nStatus == Ok)
        return true;
    IncGdiPlusError();
    return false;
}

namespace {

// The frame of a GDI+ drawing: a Graphics on the HDC in the smoothing mode,
// then the drawing. Answers the Graphics' own failure or the drawing's
// status.
template <class F> Status WithGraphics(HDC h, Gdiplus::SmoothingMode eMode, F draw)
{
    Graphics g(h);
    Status const st = g.GetLastStatus();
    if (st != Ok)
        return st;
    if (eMode != Gdiplus::SmoothingModeDefault)
        g.SetSmoothingMode(eMode);
    return draw(g);
}

} // namespace

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
    return GdiPlusDone(WithGraphics(h, SmoothingModeHighQuality, [&](Graphics &g) {
        Gdiplus::Pen pen(GpColor(rColor), REAL(fWidth));
        pen.SetEndCap(Gdiplus::LineCapRound);
        return pen.GetLastStatus() != Ok ? pen.GetLastStatus() : g.DrawRectangle(&pen, GpRect(rRect));
    }));
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
    return GdiPlusDone(WithGraphics(h, SmoothingModeHighQuality, [&](Graphics &g) {
        Gdiplus::Pen pen(GpColor(rColor), REAL(fWidth));
        pen.SetEndCap(static_cast<LineCap>(nLineCap));
        return pen.GetLastStatus() != Ok ? pen.GetLastStatus() : g.DrawLine(&pen, GpPoint(rFrom), GpPoint(rTo));
    }));
}

bool OutputDevice::DrawArcHQ(FRectangle const &rRect, double fStart, double fSweep, double fWidth,
                             TransparentColor const &rColor)
{
    if (rRect.IsEmpty())
        return false;
    HDC h = GethDC();
    if (!h)
        return false;
    return GdiPlusDone(WithGraphics(h, SmoothingModeHighQuality, [&](Graphics &g) {
        Gdiplus::Pen pen(GpColor(rColor), REAL(fWidth));
        return g.DrawArc(&pen, GpRect(rRect), REAL(fStart), REAL(fSweep));
    }));
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
    return GdiPlusDone(WithGraphics(h, SmoothingModeHighQuality, [&](Graphics &g) {
        return b.GetLastStatus() != Ok ? b.GetLastStatus() : g.FillPath(&b, &path);
    }));
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
    return GdiPlusDone(WithGraphics(h, SmoothingModeHighQuality, [&](Graphics &g) {
        Gdiplus::Pen pen(GpColor(rColor), REAL(fWidth));
        Status const st = path.AddBeziers(out.data(), INT(out.size()));
        return st != Ok ? st : g.DrawPath(&pen, &path);
    }));
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
    return GdiPlusDone(WithGraphics(h, Gdiplus::SmoothingModeDefault, [&](Graphics &g) {
        SolidBrush b(GpColor(rColor));
        return DrawArrowWith(g, b, rFrom, rTo, fWidth);
    }));
}

bool OutputDevice::DrawArrowGradient(FPoint const &rFrom, FPoint const &rTo, double fWidth, ColorPair const &rColors)
{
    HDC h = GethDC();
    if (!h || (rFrom == rTo))
        return false;
    return GdiPlusDone(WithGraphics(h, Gdiplus::SmoothingModeDefault, [&](Graphics &g) {
        LinearGradientBrush b(GpPoint(rFrom), GpPoint(rTo), GpColor(rColors[0], 255), GpColor(rColors[1], 255));
        return b.GetLastStatus() != Ok ? b.GetLastStatus() : DrawArrowWith(g, b, rFrom, rTo, fWidth);
    }));
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
    return GdiPlusDone(WithGraphics(h, SmoothingModeHighQuality, [&](Graphics &g) {
        SolidBrush b(GpColor(rColor));
        return g.FillPath(&b, &path);
    }));
}

bool OutputDevice::DrawEllipseHQ(FRectangle const &rRect, TransparentColor const &rFill)
{
    if (rRect.IsEmpty())
        return false;
    HDC h = GethDC();
    if (!h)
        return false;
    return GdiPlusDone(WithGraphics(h, Gdiplus::SmoothingModeDefault, [&](Graphics &g) {
        SolidBrush b(GpColor(rFill));
        Status st = g.FillEllipse(&b, GpRect(rRect));
        if (st == Ok && m_aPen.IsValid() && m_aPen.GetStyle() != PS_NULL) {
            g.SetSmoothingMode(SmoothingModeHighQuality);
            Gdiplus::Pen pen(GpColor(m_aPen.GetColor(), rFill.GetAlpha()), 1.0f);
            st = g.DrawEllipse(&pen, GpRect(rRect));
        }
        return st;
    }));
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
    Gdiplus::Color fill;
    bool const hasFill = m_aFillBrush.IsValid() && m_aFillBrush.GetStyle() != BrushStyleNull;
    if (hasFill)
        fill = GpColor(m_aFillBrush.GetColor(), 255);
    return GdiPlusDone(WithGraphics(h, Gdiplus::SmoothingModeDefault, [&](Graphics &g) {
        return DrawPolygonWith(g, rPoly, hasFill ? &fill : nullptr, m_aPen);
    }));
}

bool OutputDevice::DrawPolygonHQ(FPolygon const &rPoly, TransparentColor const &rFill)
{
    HDC h = GethDC();
    if (!h || rPoly.Count() < 2)
        return false;
    Gdiplus::Color const fill = GpColor(rFill);
    return GdiPlusDone(WithGraphics(h, Gdiplus::SmoothingModeDefault,
                                    [&](Graphics &g) { return DrawPolygonWith(g, rPoly, &fill, m_aPen); }));
}

bool OutputDevice::FillTransparentPolygon(CPolygon const &rPoly, TransparentColor const &rColor)
{
    HDC h = GethDC();
    if (!h || rPoly.Count() < 3)
        return false;
    std::vector<Gdiplus::Point> pts;
    for (unsigned i = 0; i < rPoly.Count(); ++i)
        pts.emplace_back(rPoly[i].X(), rPoly[i].Y());
    return GdiPlusDone(WithGraphics(h, SmoothingModeAntiAlias, [&](Graphics &g) {
        SolidBrush b(GpColor(rColor));
        return g.FillPolygon(&b, pts.data(), INT(pts.size()));
    }));
}

bool OutputDevice::EraseTransparent(CRectangle const &rRect, TransparentColor const &rColor)
{
    if (rRect.IsEmpty())
        return false;
    HDC h = GethDC();
    if (!h)
        return false;
    return GdiPlusDone(WithGraphics(h, Gdiplus::SmoothingModeDefault, [&](Graphics &g) {
        SolidBrush b(GpColor(rColor));
        return g.FillRectangle(&b, Rect(rRect.Left(), rRect.Top(), rRect.GetWidth(), rRect.GetHeight()));
    }));
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
    return GethDC() && GdiPlusDone(DrawTextWHQImpl(rPoint, rStr, nOpacity));
}

bool OutputDevice::DrawTextHQVertical(FPoint const &rPoint, UString const &rStr, int nOpacity)
{
    return GethDC() && GdiPlusDone(DrawTextWHQImpl(rPoint, rStr, nOpacity, true));
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
