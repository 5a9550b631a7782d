#include "graphics/CenterPointGradient.h"

#include "graphics/GdiplusNew.h"
#include "graphics/OutputDevice.h"

#include <memory>
#include <vector>

namespace {

// The corners of a rectangle, an EMPTY extent collapsed onto its near edge.
struct Corners
{
    explicit Corners(CRectangle const &rc)
        : l(rc.Left()), t(rc.Top()), r(rc.TopRight().X()), b(rc.BottomLeft().Y())
    {
    }
    // Clockwise from the top-left corner.
    bool AddTo(Gdiplus::GraphicsPath &rPath) const
    {
        Gdiplus::Point const pts[4] = {{l, t}, {r, t}, {r, b}, {l, b}};
        return rPath.AddLines(pts, 4) == Gdiplus::Ok;
    }
    int l, t, r, b;
};

// p % of the way from a to b; 64-bit, since the caller's numbers are
// anybody's.
long long Part(int a, int b, int p)
{
    return a + static_cast<long long>(p) * (static_cast<long long>(b) - a) / 100;
}

// A finished brush, or null (and the brush deleted) when a setting failed.
Gdiplus::PathGradientBrush *Checked(Gdiplus::PathGradientBrush *pBrush, bool bOk)
{
    if (pBrush && (!bOk || pBrush->GetLastStatus() != Gdiplus::Ok)) {
        delete pBrush;
        return nullptr;
    }
    return pBrush;
}

} // namespace

CenterPointGradient::CenterPointGradient(ColorPair const &rColors, Color const &rCenter)
    : RectGradient(rColors), m_aCenterColor(rCenter), m_nCenterX(50), m_nCenterY(50), m_bHorizontal(false),
      m_bAntiAliasing(false)
{
}

CenterPointGradient::CenterPointGradient(CenterPointGradient const &rOther)
    : RectGradient(rOther), m_aCenterColor(rOther.m_aCenterColor), m_nCenterX(rOther.m_nCenterX),
      m_nCenterY(rOther.m_nCenterY), m_bHorizontal(rOther.m_bHorizontal), m_bAntiAliasing(rOther.m_bAntiAliasing)
{
    m_nCenterTransparency = rOther.m_nCenterTransparency;
    m_nSurroundTransparency = rOther.m_nSurroundTransparency;
}

CenterPointGradient &CenterPointGradient::operator=(CenterPointGradient const &rOther)
{
    RectGradient::operator=(rOther);
    m_nCenterTransparency = rOther.m_nCenterTransparency;
    m_nSurroundTransparency = rOther.m_nSurroundTransparency;
    m_aCenterColor = rOther.m_aCenterColor;
    m_nCenterX = rOther.m_nCenterX;
    m_nCenterY = rOther.m_nCenterY;
    m_bHorizontal = rOther.m_bHorizontal;
    m_bAntiAliasing = rOther.m_bAntiAliasing;
    return *this;
}

CenterPointGradient::~CenterPointGradient() = default;

RectGradient *CenterPointGradient::Clone() const
{
    return new CenterPointGradient(*this);
}

Gdiplus::Brush *CenterPointGradient::CreateGdiplusBrush(CRectangle const &rRect) const
{
    return CreatePathGradientBrush(rRect);
}

Gdiplus::PathGradientBrush *CenterPointGradient::CreatePathGradientBrush(CRectangle const &rRect) const
{
    Corners const c(rRect);
    Gdiplus::GraphicsPath path;
    if (!c.AddTo(path))
        return nullptr;
    auto *brush = GdiplusNew<Gdiplus::PathGradientBrush>(&path);
    if (!brush)
        return nullptr;
    Gdiplus::Color const first = m_aColors[0].GetGdiplusColor(100), second = m_aColors[1].GetGdiplusColor(100);
    Gdiplus::Color surround[4] = {first, first, second, second};
    if (m_bHorizontal)
        surround[1] = second, surround[3] = first;
    Gdiplus::Color const last = surround[3];
    surround[3] = Gdiplus::Color(static_cast<BYTE>(AlphaOf(m_nSurroundTransparency)), last.GetR(), last.GetG(),
                                 last.GetB());
    INT count = 4;
    bool ok = brush->SetSurroundColors(surround, &count) == Gdiplus::Ok;
    ok = ok && brush->SetCenterPoint(Gdiplus::PointF(static_cast<Gdiplus::REAL>(Part(c.l, c.r, m_nCenterX)),
                                                     static_cast<Gdiplus::REAL>(Part(c.t, c.b, m_nCenterY)))) ==
                   Gdiplus::Ok;
    ok = ok && brush->SetCenterColor(m_aCenterColor.GetGdiplusColor(m_nCenterTransparency)) == Gdiplus::Ok;
    return Checked(brush, ok);
}

Gdiplus::PathGradientBrush *CenterPointGradient::CreatePathGradientBrush(CPolygon const &rPoly) const
{
    unsigned const n = rPoly.Count();
    if (n == 0)
        return nullptr;
    std::vector<Gdiplus::Point> pts;
    pts.reserve(n + 1);
    for (unsigned i = 0; i < n; ++i)
        pts.emplace_back(rPoly[i].X(), rPoly[i].Y());
    pts.push_back(pts.front());
    Gdiplus::GraphicsPath path;
    if (path.AddLines(pts.data(), static_cast<INT>(pts.size())) != Gdiplus::Ok)
        return nullptr;
    auto *brush = GdiplusNew<Gdiplus::PathGradientBrush>(&path);
    if (!brush)
        return nullptr;
    std::vector<Gdiplus::Color> rim(n, m_aColors[0].GetGdiplusColor(m_nSurroundTransparency));
    INT count = static_cast<INT>(n);
    bool ok = brush->SetSurroundColors(rim.data(), &count) == Gdiplus::Ok;
    ok = ok && brush->SetCenterColor(m_aColors[1].GetGdiplusColor(m_nCenterTransparency)) == Gdiplus::Ok;
    return Checked(brush, ok);
}

Gdiplus::PathGradientBrush *CenterPointGradient::CreateEllipticPathGradientBrush(FRectangle const &rRect) const
{
    double const w = rRect.Width(), h = rRect.Height();
    Gdiplus::GraphicsPath path;
    if (path.AddEllipse(static_cast<Gdiplus::REAL>(rRect.Left()), static_cast<Gdiplus::REAL>(rRect.Top()),
                        static_cast<Gdiplus::REAL>(w), static_cast<Gdiplus::REAL>(h)) != Gdiplus::Ok)
        return nullptr;
    auto *brush = GdiplusNew<Gdiplus::PathGradientBrush>(&path);
    if (!brush)
        return nullptr;
    Gdiplus::Color rim = m_aColors[0].GetGdiplusColor(m_nSurroundTransparency);
    INT count = 1;
    bool ok = brush->SetSurroundColors(&rim, &count) == Gdiplus::Ok;
    ok = ok && brush->SetCenterPoint(Gdiplus::PointF(static_cast<Gdiplus::REAL>(rRect.Left() + m_nCenterX * w / 100),
                                                     static_cast<Gdiplus::REAL>(rRect.Top() + m_nCenterY * h / 100))) ==
                   Gdiplus::Ok;
    ok = ok && brush->SetCenterColor(m_aCenterColor.GetGdiplusColor(m_nCenterTransparency)) == Gdiplus::Ok;
    return Checked(brush, ok);
}

bool CenterPointGradient::FillRect(OutputDevice *pDev, CRectangle const &rRect) const
{
    if (!pDev || rRect.IsEmpty())
        return false;
    HDC h = pDev->GethDC();
    if (!h)
        return false;
    Gdiplus::GraphicsPath path;
    if (!Corners(rRect).AddTo(path))
        return false;
    std::unique_ptr<Gdiplus::PathGradientBrush> brush(CreatePathGradientBrush(rRect));
    if (!brush)
        return false;
    Gdiplus::Graphics g(h);
    return g.GetLastStatus() == Gdiplus::Ok && g.FillPath(brush.get(), &path) == Gdiplus::Ok;
}

bool CenterPointGradient::FillEllipse(OutputDevice *pDev, FRectangle const &rRect) const
{
    if (!pDev)
        return false;
    HDC h = pDev->GethDC();
    if (!h)
        return false;
    auto const x = static_cast<Gdiplus::REAL>(rRect.Left()), y = static_cast<Gdiplus::REAL>(rRect.Top()),
               w = static_cast<Gdiplus::REAL>(rRect.Width()), ht = static_cast<Gdiplus::REAL>(rRect.Height());
    Gdiplus::GraphicsPath path;
    if (path.AddEllipse(x, y, w, ht) != Gdiplus::Ok)
        return false;
    std::unique_ptr<Gdiplus::PathGradientBrush> brush(CreateEllipticPathGradientBrush(rRect));
    Gdiplus::Graphics g(h);
    if (g.GetLastStatus() != Gdiplus::Ok)
        return true;
    if (m_bAntiAliasing)
        g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    if (brush)
        g.FillPath(brush.get(), &path);
    if (m_aPen.IsValid()) {
        Gdiplus::Pen pen(m_aPen.GetColor().GetGdiplusColor(100), static_cast<Gdiplus::REAL>(m_aPen.GetWidth()));
        g.DrawEllipse(&pen, x, y, w, ht);
    }
    return true;
}
