#pragma once
// Integer extent. Sides may be negative (a rectangle drawn right to left);
// multiplication and division round halves away from zero and saturate at
// the limits of int.
#include "frame/Kestrel5Api.h"
#include "graphics/Point.h"
#include "mfc/CSize.h"
#include "text/SString.h"

class KSAPI Size
{
public:
    Size() noexcept : m_nWidth(0), m_nHeight(0) {}
    Size(int w, int h) noexcept : m_nWidth(w), m_nHeight(h) {}
    Size(CSize const &s) noexcept : m_nWidth(s.cx), m_nHeight(s.cy) {}
    Size(Size const &) noexcept = default;
    Size &operator=(Size const &) noexcept = default;

    int Width() const noexcept { return m_nWidth; }
    int Height() const noexcept { return m_nHeight; }
    int &Width() noexcept { return m_nWidth; }
    int &Height() noexcept { return m_nHeight; }

    bool operator==(Size const &s) const noexcept { return m_nWidth == s.m_nWidth && m_nHeight == s.m_nHeight; }
    bool operator!=(Size const &s) const noexcept { return !(*this == s); }

    Size &operator+=(Size const &s) noexcept
    {
        m_nWidth = Point::ImpClamp((long long)m_nWidth + s.m_nWidth);
        m_nHeight = Point::ImpClamp((long long)m_nHeight + s.m_nHeight);
        return *this;
    }

    Size operator*(int f) const noexcept { Size r(*this); return r *= f; }
    Size operator*(double f) const noexcept { Size r(*this); return r *= f; }
    Size operator/(int d) const noexcept { Size r(*this); return r /= d; }
    Size operator/(double d) const noexcept { Size r(*this); return r /= d; }

    Size &operator*=(int f) noexcept
    {
        m_nWidth = Point::ImpClamp((long long)m_nWidth * f);
        m_nHeight = Point::ImpClamp((long long)m_nHeight * f);
        return *this;
    }
    Size &operator*=(double f) noexcept
    {
        if (!std::isnan(f)) {
            m_nWidth = Point::ImpRound(m_nWidth * f);
            m_nHeight = Point::ImpRound(m_nHeight * f);
        }
        return *this;
    }
    // Division by zero leaves the size as it is.
    Size &operator/=(int d) noexcept
    {
        if (d) {
            m_nWidth = Point::ImpClamp((long long)m_nWidth / d);
            m_nHeight = Point::ImpClamp((long long)m_nHeight / d);
        }
        return *this;
    }
    Size &operator/=(double d) noexcept
    {
        if (d != 0.0 && !std::isnan(d)) {
            m_nWidth = Point::ImpRound(m_nWidth / d);
            m_nHeight = Point::ImpRound(m_nHeight / d);
        }
        return *this;
    }

    // Not a strict weak order: when neither side is shared, a size is only
    // "less" when it is smaller both ways.
    bool operator<(Size const &s) const noexcept
    {
        if (m_nWidth == s.m_nWidth)
            return m_nHeight < s.m_nHeight;
        if (m_nHeight == s.m_nHeight)
            return m_nWidth < s.m_nWidth;
        return m_nWidth < s.m_nWidth && m_nHeight < s.m_nHeight;
    }

    bool IsEmpty() const noexcept { return m_nWidth == 0 || m_nHeight == 0; }
    double GetArea() const noexcept { return double(m_nWidth) * double(m_nHeight); }
    int GetMaxSide() const noexcept { return m_nWidth > m_nHeight ? m_nWidth : m_nHeight; }
    int GetMinSide() const noexcept { return m_nWidth < m_nHeight ? m_nWidth : m_nHeight; }

    // The offset that centres this size inside outer (C++ division, towards
    // zero, so an odd remainder leaves the extra pixel at the far side).
    Point CenterWithin(Size const &outer) const noexcept
    {
        return Point(Point::ImpClamp(((long long)outer.m_nWidth - m_nWidth) / 2),
                     Point::ImpClamp(((long long)outer.m_nHeight - m_nHeight) / 2));
    }

    // Keeps the aspect ratio; a size without height has none to keep.
    Size ScaleToHeight(int h) noexcept
    {
        if (m_nHeight) {
            m_nWidth = Point::ImpRound(double(m_nWidth) * double(h) / double(m_nHeight));
            m_nHeight = h;
        }
        return *this;
    }

    SString GetStr() const;

private:
    int m_nWidth;
    int m_nHeight;
};
