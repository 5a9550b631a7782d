#pragma once
// A list of polygons, shared between copies and copied on the first change
// like the polygons themselves. A copied list holds new polygon handles that
// still share each polygon's points.
#include "frame/Kestrel5Api.h"
#include "graphics/CPolygon.h"
#include "graphics/Point.h"

struct ImpPolyPolygon;

class KSAPI CPolyPolygon
{
public:
    // An empty list whose container grows in blocks of a (first block a,
    // further steps b).
    explicit CPolyPolygon(unsigned int a = 16, unsigned int b = 16);
    CPolyPolygon(CPolygon const &poly);
    // n polygons; polygon k takes counts[k] consecutive points from points.
    // Null arrays give an empty list.
    CPolyPolygon(unsigned int n, unsigned int const *counts, Point const *points);
    CPolyPolygon(CPolyPolygon const &pp);
    CPolyPolygon &operator=(CPolyPolygon const &pp);
    ~CPolyPolygon();

    unsigned int Count() const noexcept;
    // The polygon at i (sharing its points); a polygon without points when
    // there is none.
    CPolygon GetObjectA(unsigned int i) const;

    // pos at or beyond the count appends.
    void Insert(CPolygon const &poly, unsigned int pos);
    // The removed or replaced polygon; a polygon without points (and no
    // change) when pos is out of range.
    CPolygon Remove(unsigned int pos);
    CPolygon Replace(CPolygon const &poly, unsigned int pos);
    void Clear();

    // Lists held in different bodies compare their polygon handles, not
    // their points, so they are equal only when both are empty.
    int operator==(CPolyPolygon const &pp) const;
    int operator!=(CPolyPolygon const &pp) const { return !(*this == pp); }

private:
    void ImpMakeUnique();

    ImpPolyPolygon *m_pImpl;
};
