#pragma once
// Integer point of the library: device and logical pixel positions.
// Arithmetic saturates at the limits of int rather than wrapping, so a point
// pushed past the edge of the coordinate space stays at that edge.
#include <climits>
#include <cmath>

#include "frame/Kestrel5Api.h"
#include "mfc/CPoint.h"

namespace Gdiplus {
struct Point;
}

class KSAPI Point
{
public:
    Point() noexcept : m_nX(0), m_nY(0) {}
    Point(int x, int y) noexcept : m_nX(x), m_nY(y) {}
    Point(CPoint const &p) noexcept : m_nX(p.x), m_nY(p.y) {}
    Point(Point const &) noexcept = default;
    Point &operator=(Point const &) noexcept = default;

    int X() const noexcept { return m_nX; }
    int Y() const noexcept { return m_nY; }
    int &X() noexcept { return m_nX; }
    int &Y() noexcept { return m_nY; }

    operator Gdiplus::Point() const;

    bool operator==(Point const &p) const noexcept { return m_nX == p.m_nX && m_nY == p.m_nY; }
    bool operator!=(Point const &p) const noexcept { return !(*this == p); }

    Point &operator+=(Point const &p) noexcept
    {
        m_nX = ImpClamp((long long)m_nX + p.m_nX);
        m_nY = ImpClamp((long long)m_nY + p.m_nY);
        return *this;
    }
    Point &operator-=(Point const &p) noexcept
    {
        m_nX = ImpClamp((long long)m_nX - p.m_nX);
        m_nY = ImpClamp((long long)m_nY - p.m_nY);
        return *this;
    }
    Point &operator*=(int f) noexcept
    {
        m_nX = ImpClamp((long long)m_nX * f);
        m_nY = ImpClamp((long long)m_nY * f);
        return *this;
    }
    Point &operator*=(double f) noexcept
    {
        if (!std::isnan(f)) {
            m_nX = ImpRound(m_nX * f);
            m_nY = ImpRound(m_nY * f);
        }
        return *this;
    }
    // Division by zero leaves the point as it is.
    Point &operator/=(int d) noexcept
    {
        if (d) {
            m_nX = ImpClamp((long long)m_nX / d);
            m_nY = ImpClamp((long long)m_nY / d);
        }
        return *this;
    }
    Point &operator/=(double d) noexcept
    {
        if (d != 0.0 && !std::isnan(d)) {
            m_nX = ImpRound(m_nX / d);
            m_nY = ImpRound(m_nY / d);
        }
        return *this;
    }

    // Y grows downwards on the screen, yet "above" compares the numbers: a
    // point is above another whose Y is smaller.
    bool IsAbove(Point const &p) const noexcept { return m_nY > p.m_nY; }
    bool IsBelow(Point const &p) const noexcept { return m_nY < p.m_nY; }
    bool IsLeft(Point const &p) const noexcept { return m_nX < p.m_nX; }
    bool IsRight(Point const &p) const noexcept { return m_nX > p.m_nX; }

    // The distance itself, despite the name. Taken in doubles: 32-bit
    // squares would overflow beyond a distance of 46,340.
    double GetSqDistance(Point const &p) const noexcept
    {
        return std::hypot(double(m_nX) - double(p.m_nX), double(m_nY) - double(p.m_nY));
    }

    // Saturating conversions shared with Size and the rectangles.
    static int ImpClamp(long long v) noexcept
    {
        return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : int(v);
    }
    // Nearest integer, halves away from zero; NaN gives 0.
    static int ImpRound(double v) noexcept
    {
        if (std::isnan(v))
            return 0;
        if (v <= double(INT_MIN))
            return INT_MIN;
        if (v >= double(INT_MAX))
            return INT_MAX;
        return int(std::lround(v));
    }

private:
    int m_nX;
    int m_nY;
};
