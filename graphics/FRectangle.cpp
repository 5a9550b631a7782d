#include "graphics/FRectangle.h"

#include <cmath>
#include <windows.h>
#include <gdiplus.h>

namespace {

// trunc(v) as an int; false for NaN and values int cannot hold.
bool Trunc(double v, long long &out)
{
    double t = std::trunc(v);
    if (!(t >= double(INT_MIN) && t <= double(INT_MAX)))
        return false;
    out = (long long)t;
    return true;
}

// The four numbers after the caller's adjustment, under CRectangle's rule:
// a near edge out of range loses the rectangle, a far one becomes empty.
CRectangle ToRectangle(double l, double t, double r, double b, bool emptyR, bool emptyB)
{
    long long il, it, ir = RECT_EMPTY, ib = RECT_EMPTY;
    if (!Trunc(l, il) || !Trunc(t, it))
        return CRectangle();
    if (!emptyR && !Trunc(r, ir))
        ir = RECT_EMPTY;
    if (!emptyB && !Trunc(b, ib))
        ib = RECT_EMPTY;
    return CRectangle(int(il), int(it), CRectangle::ImpEdge(ir), CRectangle::ImpEdge(ib));
}

} // namespace

Gdiplus::RectF FRectangle::GetRectF() const
{
    return Gdiplus::RectF(Gdiplus::REAL(m_fLeft), Gdiplus::REAL(m_fTop), Gdiplus::REAL(Width()),
                          Gdiplus::REAL(Height()));
}

CRectangle FRectangle::GetRectangle() const noexcept
{
    return ToRectangle(m_fLeft + 0.5, m_fTop + 0.5, m_fRight + 0.5, m_fBottom + 0.5, m_fRight == FRECT_EMPTY,
                       m_fBottom == FRECT_EMPTY);
}

CRectangle FRectangle::GetBoundingRect() const noexcept
{
    return ToRectangle(m_fLeft + 0.01, m_fTop + 0.01, m_fRight - 0.01, m_fBottom - 0.01, m_fRight == FRECT_EMPTY,
                       m_fBottom == FRECT_EMPTY);
}

void FRectangle::MoveToFloor() noexcept
{
    Move(-std::trunc(m_fLeft + 0.01), -std::trunc(m_fTop + 0.01));
}

SString FRectangle::GetStr() const
{
    return SString::F("(%4.2f, %4.2f)/(%4.2f, %4.2f)", m_fLeft, m_fTop, m_fRight, m_fBottom);
}
