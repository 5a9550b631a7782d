#pragma once
// A list of floating-point points. Copies share one point array and the first
// change through any of them gives that handle an array of its own, so a
// copy never sees another's changes.
#include "frame/Kestrel5Api.h"
#include "graphics/FRectangle.h"
#include "graphics/FPoint.h"

template <class T> struct PointArrayBody;

class KSAPI FPolygon
{
public:
    // n points, all (0, 0).
    explicit FPolygon(unsigned int n = 16);
    // Copies n points from pts (all (0, 0) when pts is null).
    FPolygon(unsigned int n, FPoint const *pts);
    // The closed outline top-left, top-right, bottom-right, bottom-left,
    // top-left; an empty rectangle gives the default polygon.
    FPolygon(FRectangle const &r);
    FPolygon(FPolygon const &poly);
    FPolygon &operator=(FPolygon const &poly);
    ~FPolygon();

    unsigned int GetSize() const noexcept;
    unsigned int Count() const noexcept;
    // Valid until the next change of this polygon.
    FPoint const *GetPointArr() const noexcept;

    // An index at or beyond the count stands for point 0.
    FPoint const &operator[](unsigned int i) const noexcept;
    FPoint const &GetPoint(unsigned int i) const noexcept;
    FPoint &operator[](unsigned int i);
    // An index out of range changes nothing.
    void ChangePoint(FPoint const &p, unsigned int i);
    // Keeps the leading points; new ones are (0, 0). n = 0 changes nothing.
    void ChangeSize(unsigned int n);

    bool operator==(FPolygon const &poly) const noexcept;
    bool operator!=(FPolygon const &poly) const noexcept { return !(*this == poly); }

private:
    PointArrayBody<FPoint> *m_pImpl;
};
