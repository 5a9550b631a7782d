#include "graphics/CRectangle.h"

#include <cmath>

namespace {

long long Min(long long a, long long b) { return a < b ? a : b; }
long long Max(long long a, long long b) { return a > b ? a : b; }
long long Abs(long long a) { return a < 0 ? -a : a; }

// Moves lo and hi by d, or by lo' - lo and hi' - hi for Inflate. False when
// the near edge falls outside int: the rectangle is then lost as a whole.
// A far edge that cannot be held, or was empty, is RECT_EMPTY afterwards.
bool ShiftEdges(int &lo, int &hi, long long dLo, long long dHi)
{
    long long nl = lo + dLo;
    if (nl < INT_MIN || nl > INT_MAX)
        return false;
    lo = int(nl);
    if (hi != RECT_EMPTY)
        hi = CRectangle::ImpEdge(hi + dHi);
    return true;
}

// trunc(c * f + 0.5); nullopt-like false when the result does not fit.
bool ScaleCoord(int c, double f, long long &out)
{
    double v = std::trunc(double(c) * f + 0.5);
    if (!(v >= double(INT_MIN) && v <= double(INT_MAX)))
        return false;
    out = (long long)v;
    return true;
}

} // namespace

Point CRectangle::ChangePos(Point const &pos) noexcept
{
    Point old(m_nLeft, m_nTop);
    long long dx = (long long)pos.X() - m_nLeft, dy = (long long)pos.Y() - m_nTop;
    ShiftEdges(m_nLeft, m_nRight, dx, dx);
    ShiftEdges(m_nTop, m_nBottom, dy, dy);
    return old;
}

void CRectangle::Move(int dx, int dy) noexcept
{
    if (!ShiftEdges(m_nLeft, m_nRight, dx, dx) || !ShiftEdges(m_nTop, m_nBottom, dy, dy))
        *this = CRectangle();
}

void CRectangle::Inflate(int dx, int dy) noexcept
{
    if (!ShiftEdges(m_nLeft, m_nRight, -(dx / 2), dx / 2) || !ShiftEdges(m_nTop, m_nBottom, -(dy / 2), dy / 2))
        *this = CRectangle();
}

void CRectangle::Scale(double fx, double fy) noexcept
{
    long long l, t, r = RECT_EMPTY, b = RECT_EMPTY;
    if (!ScaleCoord(m_nLeft, fx, l) || !ScaleCoord(m_nTop, fy, t)) {
        *this = CRectangle();
        return;
    }
    if (m_nRight != RECT_EMPTY && !ScaleCoord(m_nRight, fx, r))
        r = RECT_EMPTY;
    if (m_nBottom != RECT_EMPTY && !ScaleCoord(m_nBottom, fy, b))
        b = RECT_EMPTY;
    m_nLeft = int(l);
    m_nTop = int(t);
    m_nRight = ImpEdge(r);
    m_nBottom = ImpEdge(b);
}

Point CRectangle::Center() const noexcept
{
    if (IsEmpty())
        return Point(m_nLeft, m_nTop);
    // The halves are taken in 64 bits; the centre itself always fits.
    return Point(int(m_nLeft + ((long long)m_nRight - m_nLeft) / 2),
                 int(m_nTop + ((long long)m_nBottom - m_nTop) / 2));
}

Point CRectangle::LeftCenter() const noexcept
{
    if (IsEmpty())
        return Point(m_nLeft, m_nTop);
    return Point(int(Min(m_nLeft, m_nRight)), Center().Y());
}

Point CRectangle::RightCenter() const noexcept
{
    if (IsEmpty())
        return Point(m_nLeft, m_nTop);
    return Point(int(Max(m_nLeft, m_nRight)), Center().Y());
}

Point CRectangle::TopCenter() const noexcept
{
    if (IsEmpty())
        return Point(m_nLeft, m_nTop);
    return Point(int(Min(m_nLeft, m_nRight) + Abs((long long)m_nRight - m_nLeft) / 2), int(Min(m_nTop, m_nBottom)));
}

Point CRectangle::BottomCenter() const noexcept
{
    if (IsEmpty())
        return Point(m_nLeft, m_nTop);
    return Point(int(Min(m_nLeft, m_nRight) + Abs((long long)m_nRight - m_nLeft) / 2), int(Max(m_nTop, m_nBottom)));
}

bool CRectangle::IsInside(Point const &p) const noexcept
{
    if (IsEmpty())
        return false;
    return p.X() >= Min(m_nLeft, m_nRight) && p.X() <= Max(m_nLeft, m_nRight) && p.Y() >= Min(m_nTop, m_nBottom) &&
           p.Y() <= Max(m_nTop, m_nBottom);
}

bool CRectangle::IsInside(CRectangle const &r) const noexcept
{
    return !IsEmpty() && IsInside(r.TopLeft()) && IsInside(r.BottomRight());
}

bool CRectangle::MakeInside(Point &p) const noexcept
{
    if (p.X() < m_nLeft)
        p.X() = m_nLeft;
    if (p.X() > ImpRightOrLeft())
        p.X() = ImpRightOrLeft();
    if (p.Y() < m_nTop)
        p.Y() = m_nTop;
    if (p.Y() > ImpBottomOrTop())
        p.Y() = ImpBottomOrTop();
    return false;
}

SString CRectangle::GetStr() const
{
    return SString::F("l=%d, r=%d, t=%d, b=%d, WID=%I64d, HGT=%I64d", m_nLeft, m_nRight, m_nTop, m_nBottom,
                      (long long)m_nRight - m_nLeft, (long long)m_nBottom - m_nTop);
}
