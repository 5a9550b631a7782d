#pragma once
// Floating-point rectangle. Unlike CRectangle its right and bottom are
// exclusive (width = Right - Left), which is what GDI+ expects. An empty
// extent is marked by FRECT_EMPTY in Right or Bottom.
#include "frame/Kestrel5Api.h"
#include "graphics/CRectangle.h"
#include "graphics/FPoint.h"
#include "graphics/FSize.h"
#include "text/SString.h"

namespace Gdiplus {
struct RectF;
}

constexpr double FRECT_EMPTY = -2147483648.0;

class KSAPI FRectangle
{
public:
    FRectangle() noexcept : m_fLeft(0.0), m_fTop(0.0), m_fRight(FRECT_EMPTY), m_fBottom(FRECT_EMPTY) {}
    FRectangle(double left, double top, double right, double bottom) noexcept
        : m_fLeft(left), m_fTop(top), m_fRight(right), m_fBottom(bottom)
    {
    }
    FRectangle(FPoint const &topLeft, FPoint const &bottomRight) noexcept
        : m_fLeft(topLeft.X()), m_fTop(topLeft.Y()), m_fRight(bottomRight.X()), m_fBottom(bottomRight.Y())
    {
    }
    FRectangle(FPoint const &pos, FSize const &size) noexcept
        : m_fLeft(pos.X()), m_fTop(pos.Y()),
          m_fRight(size.Width() == 0.0 ? FRECT_EMPTY : pos.X() + size.Width()),
          m_fBottom(size.Height() == 0.0 ? FRECT_EMPTY : pos.Y() + size.Height())
    {
    }
    // Inclusive edges become exclusive ones; an empty extent stays empty
    // rather than turning into a huge one just above the sentinel.
    FRectangle(CRectangle const &r) noexcept
        : m_fLeft(r.Left()), m_fTop(r.Top()),
          m_fRight(r.Right() == RECT_EMPTY ? FRECT_EMPTY : r.Right() + 1.0),
          m_fBottom(r.Bottom() == RECT_EMPTY ? FRECT_EMPTY : r.Bottom() + 1.0)
    {
    }
    FRectangle(FRectangle const &) noexcept = default;
    FRectangle &operator=(FRectangle const &) noexcept = default;

    double Left() const noexcept { return m_fLeft; }
    double Top() const noexcept { return m_fTop; }
    double Right() const noexcept { return m_fRight; }
    double Bottom() const noexcept { return m_fBottom; }
    double &Left() noexcept { return m_fLeft; }
    double &Top() noexcept { return m_fTop; }
    double &Right() noexcept { return m_fRight; }
    double &Bottom() noexcept { return m_fBottom; }

    double Width() const noexcept { return m_fRight == FRECT_EMPTY ? 0.0 : m_fRight - m_fLeft; }
    double Height() const noexcept { return m_fBottom == FRECT_EMPTY ? 0.0 : m_fBottom - m_fTop; }
    double GetWidth() const noexcept { return Width(); }
    double GetHeight() const noexcept { return Height(); }
    FSize GetSize() const noexcept { return FSize(Width(), Height()); }
    bool IsEmpty() const noexcept { return m_fRight == FRECT_EMPTY || m_fBottom == FRECT_EMPTY; }

    FPoint TopLeft() const noexcept { return FPoint(m_fLeft, m_fTop); }
    FPoint TopRight() const noexcept { return FPoint(ImpRightOrLeft(), m_fTop); }
    FPoint BottomLeft() const noexcept { return FPoint(m_fLeft, ImpBottomOrTop()); }
    FPoint BottomRight() const noexcept { return FPoint(ImpRightOrLeft(), ImpBottomOrTop()); }

    Gdiplus::RectF GetRectF() const;
    // Each coordinate rounded to the nearest integer, edges kept exclusive.
    CRectangle GetRectangle() const noexcept;
    // The pixels the rectangle touches by more than a hundredth.
    CRectangle GetBoundingRect() const noexcept;

    // An empty right or bottom stays empty under Move, Inflate and scaling.
    void Move(double dx, double dy) noexcept
    {
        m_fLeft += dx;
        m_fTop += dy;
        if (m_fRight != FRECT_EMPTY)
            m_fRight += dx;
        if (m_fBottom != FRECT_EMPTY)
            m_fBottom += dy;
    }
    FRectangle &operator+=(FPoint const &p) noexcept
    {
        Move(p.X(), p.Y());
        return *this;
    }
    void Inflate(double dx, double dy) noexcept
    {
        m_fLeft -= dx * 0.5;
        m_fTop -= dy * 0.5;
        if (m_fRight != FRECT_EMPTY)
            m_fRight += dx * 0.5;
        if (m_fBottom != FRECT_EMPTY)
            m_fBottom += dy * 0.5;
    }
    // Leaves only the fractional part of the top-left corner.
    void MoveToFloor() noexcept;
    FRectangle operator*(double f) const noexcept
    {
        return FRectangle(m_fLeft * f, m_fTop * f, m_fRight == FRECT_EMPTY ? FRECT_EMPTY : m_fRight * f,
                          m_fBottom == FRECT_EMPTY ? FRECT_EMPTY : m_fBottom * f);
    }

    bool operator==(FRectangle const &r) const noexcept
    {
        return m_fLeft == r.m_fLeft && m_fTop == r.m_fTop && m_fRight == r.m_fRight && m_fBottom == r.m_fBottom;
    }
    bool operator!=(FRectangle const &r) const noexcept { return !(*this == r); }

    // "(left, top)/(right, bottom)", two decimals each.
    SString GetStr() const;

private:
    double ImpRightOrLeft() const noexcept { return m_fRight == FRECT_EMPTY ? m_fLeft : m_fRight; }
    double ImpBottomOrTop() const noexcept { return m_fBottom == FRECT_EMPTY ? m_fTop : m_fBottom; }

    double m_fLeft;
    double m_fTop;
    double m_fRight;
    double m_fBottom;
};
