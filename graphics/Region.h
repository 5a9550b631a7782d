#pragma once
// A clip shape: a rectangle, a polygon or a list of polygons, shared between
// copies and copied on the first change. A region without a body is the
// empty region.
//
// As a point set a region is what the platform makes of its shape: a
// rectangle's four numbers are handed to GDI as they are (so its right and
// bottom act as exclusive there), polygons are filled with the alternate
// rule, and a clip recorded on a polygon region cuts the set down. The set
// operations Union, Intersect, Exclude and Xor work on these point sets.
#include <windef.h>

#include "frame/Kestrel5Api.h"
#include "graphics/CPolyPolygon.h"
#include "graphics/CPolygon.h"
#include "graphics/CRectangle.h"

class CRgn;
struct ImpRegion;

enum RegionType
{
    RegionTypeNull = 0, // only the empty region
    RegionTypeRectangle = 1,
    RegionTypePolygon = 2,
    RegionTypePolyPolygon = 3
};

class KSAPI Region
{
public:
    Region() noexcept : m_pImpl(nullptr) {}
    // An empty rectangle gives the empty region.
    Region(CRectangle const &rect);
    Region(CPolygon const &poly);
    Region(CPolyPolygon const &pp);
    Region(Region const &r);
    Region &operator=(Region const &r);
    ~Region();

    RegionType GetType() const noexcept;
    bool IsEmpty() const noexcept { return !m_pImpl; }

    // Compares shapes, not point sets; a recorded clip is not compared.
    bool operator==(Region const &r) const;
    bool operator!=(Region const &r) const { return !(*this == r); }

    // A rectangle region shrinks to the intersection (and becomes empty when
    // nothing is left); a polygon region keeps its shape and records the
    // rectangle as a clip.
    void Intersect(CRectangle const &rect);
    // The clip of a polygon region stays where it is.
    void Move(int dx, int dy);
    // Polygon bounds always include the origin.
    CRectangle GetBoundRect() const;

    // The platform region of a rectangle region, owned by the caller; null for
    // the empty region and for polygon shapes.
    HRGN CreateHRGN() const;
    // The same wrapped in a new CRgn owned by the caller; null where
    // CreateHRGN gives null.
    CRgn *CreateCRgn() const;

    // The platform region of any shape, the clip of a polygon region
    // applied; owned by the caller. Null for the empty region and when the
    // platform has no region to give.
    HRGN CreateShapeHRGN() const;

    // Set operations on the point sets. The result is the empty region, a
    // rectangle region when it is one rectangle, else a poly-polygon of the
    // rectangles the platform splits it into. False, with this region
    // unchanged, when the platform fails.
    bool Union(Region const &r);
    bool Intersect(Region const &r);
    bool Exclude(Region const &r);
    bool Xor(Region const &r);

private:
    void ImpMakeUnique();
    void ImpRelease();
    bool ImpCombine(Region const &r, int mode);

    ImpRegion *m_pImpl;
};
