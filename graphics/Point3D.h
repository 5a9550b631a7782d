#pragma once
// A point in space, the element of CPolygon3D.
#include "frame/Kestrel5Api.h"

class KSAPI Point3D
{
public:
    Point3D() noexcept : m_fX(0.0), m_fY(0.0), m_fZ(0.0) {}
    Point3D(double x, double y, double z) noexcept : m_fX(x), m_fY(y), m_fZ(z) {}
    Point3D(Point3D const &) noexcept = default;
    Point3D &operator=(Point3D const &) noexcept = default;

    double X() const noexcept { return m_fX; }
    double Y() const noexcept { return m_fY; }
    double Z() const noexcept { return m_fZ; }
    double &X() noexcept { return m_fX; }
    double &Y() noexcept { return m_fY; }
    double &Z() noexcept { return m_fZ; }

    bool operator==(Point3D const &p) const noexcept { return m_fX == p.m_fX && m_fY == p.m_fY && m_fZ == p.m_fZ; }
    bool operator!=(Point3D const &p) const noexcept { return !(*this == p); }

private:
    double m_fX;
    double m_fY;
    double m_fZ;
};
