#pragma once
// A read-mostly list of points in space, shared between copies like
// CPolygon's.
#include "frame/Kestrel5Api.h"
#include "graphics/Point3D.h"

template <class T> struct PointArrayBody;

class KSAPI CPolygon3D
{
public:
    // n points, all (0, 0, 0).
    explicit CPolygon3D(unsigned int n = 16);
    // Copies n points from pts (all (0, 0, 0) when pts is null).
    CPolygon3D(unsigned int n, Point3D const *pts);
    CPolygon3D(CPolygon3D const &poly);
    CPolygon3D &operator=(CPolygon3D const &poly);
    ~CPolygon3D();

    unsigned int GetSize() const noexcept;
    unsigned int Count() const noexcept;
    Point3D const *GetPointArr() const noexcept;
    // An index at or beyond the count stands for point 0.
    Point3D const &GetPoint(unsigned int i) const noexcept;

private:
    PointArrayBody<Point3D> *m_pImpl;
};
