#pragma once
// A list of integer points. Copies share one point array and the first
// change through any of them gives that handle an array of its own, so a
// copy never sees another's changes.
#include "frame/Kestrel5Api.h"
#include "graphics/CRectangle.h"
#include "graphics/Point.h"

template <class T> struct PointArrayBody;

class KSAPI CPolygon
{
public:
    // n points, all (0, 0).
    explicit CPolygon(unsigned int n = 16);
    // Copies n points from pts (all (0, 0) when pts is null).
    CPolygon(unsigned int n, Point const *pts);
    // The closed outline top-left, top-right, bottom-right, bottom-left,
    // top-left; an empty rectangle gives the default polygon.
    CPolygon(CRectangle const &r);
    CPolygon(CPolygon const &poly);
    CPolygon &operator=(CPolygon const &poly);
    ~CPolygon();

    unsigned int GetSize() const noexcept;
    unsigned int Count() const noexcept;
    // Valid until the next change of this polygon.
    Point const *GetPointArr() const noexcept;

    // An index at or beyond the count stands for point 0.
    Point const &operator[](unsigned int i) const noexcept;
    Point const &GetPoint(unsigned int i) const noexcept;
    Point &operator[](unsigned int i);
    // An index out of range changes nothing.
    void ChangePoint(Point const &p, unsigned int i);
    // Keeps the leading points; new ones are (0, 0). n = 0 changes nothing.
    void ChangeSize(unsigned int n);

    bool operator==(CPolygon const &poly) const noexcept;
    bool operator!=(CPolygon const &poly) const noexcept { return !(*this == poly); }

private:
    PointArrayBody<Point> *m_pImpl;
};
