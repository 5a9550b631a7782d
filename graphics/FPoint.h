#pragma once
// Floating-point position for drawing that is finer than a pixel.
#include "frame/Kestrel5Api.h"

class KSAPI FPoint
{
public:
    FPoint() noexcept : m_fX(0.0), m_fY(0.0) {}
    FPoint(double x, double y) noexcept : m_fX(x), m_fY(y) {}
    FPoint(FPoint const &) noexcept = default;
    FPoint &operator=(FPoint const &) noexcept = default;

    double X() const noexcept { return m_fX; }
    double Y() const noexcept { return m_fY; }
    double &X() noexcept { return m_fX; }
    double &Y() noexcept { return m_fY; }

    bool operator==(FPoint const &p) const noexcept { return m_fX == p.m_fX && m_fY == p.m_fY; }
    bool operator!=(FPoint const &p) const noexcept { return !(*this == p); }

private:
    double m_fX;
    double m_fY;
};
