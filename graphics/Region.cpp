#include "graphics/Region.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "mfc/CRgn.h"

namespace {
CPolyPolygon *RectListOf(HRGN h);
}

struct ImpRegion
{
    unsigned short m_nRefCount; // holders besides the first: 0 = one holder
    RegionType m_eType;
    // CRectangle, CPolygon or CPolyPolygon by m_eType. Null for a
    // poly-polygon that a set operation left in m_hRgn and nobody has
    // asked for yet.
    mutable void *m_pShape;
    int m_bClip;
    CRectangle m_aClipRect;
    // The poly-polygon is a list of disjoint rectangle outlines, as a set
    // operation leaves it: the platform region can then be built from the
    // rectangles directly instead of by filling polygons.
    bool m_bRectList;
    // The point set of a rectangle list (clip not applied), owned. Set
    // operations in a row work on it alone; the rectangles are read out of
    // it only when the shape itself is needed.
    HRGN m_hRgn;

    ImpRegion(RegionType type, void *shape)
        : m_nRefCount(0), m_eType(type), m_pShape(shape), m_bClip(0), m_bRectList(false), m_hRgn(nullptr)
    {
    }
    // The copy shares the shape's storage and leaves the platform region
    // to the original.
    ImpRegion(ImpRegion const &o)
        : m_nRefCount(0), m_eType(o.m_eType), m_pShape(nullptr), m_bClip(o.m_bClip), m_aClipRect(o.m_aClipRect),
          m_bRectList(o.m_bRectList), m_hRgn(nullptr)
    {
        switch (m_eType) {
        case RegionTypeRectangle: m_pShape = new CRectangle(o.Rect()); break;
        case RegionTypePolygon: m_pShape = new CPolygon(o.Poly()); break;
        default: m_pShape = new CPolyPolygon(o.PolyPoly()); break;
        }
    }
    ImpRegion &operator=(ImpRegion const &) = delete;
    ~ImpRegion()
    {
        DropShape();
        if (m_hRgn)
            DeleteObject(m_hRgn);
    }

    void DropShape() const
    {
        if (!m_pShape)
            return;
        switch (m_eType) {
        case RegionTypeRectangle: delete &Rect(); break;
        case RegionTypePolygon: delete &Poly(); break;
        default: delete &PolyPoly(); break;
        }
        m_pShape = nullptr;
    }

    CRectangle &Rect() const { return *static_cast<CRectangle *>(m_pShape); }
    CPolygon &Poly() const { return *static_cast<CPolygon *>(m_pShape); }
    CPolyPolygon &PolyPoly() const
    {
        if (!m_pShape)
            m_pShape = RectListOf(m_hRgn);
        return *static_cast<CPolyPolygon *>(m_pShape);
    }
};

namespace {

static_assert(sizeof(Point) == sizeof(POINT), "points go to GDI as they are");

ImpRegion *Share(ImpRegion *b)
{
    if (!b)
        return nullptr;
    // A count at its limit is not wrapped: the new handle gets a copy.
    if (b->m_nRefCount == 0xFFFF)
        return new ImpRegion(*b);
    ++b->m_nRefCount;
    return b;
}

HRGN EmptyRgn() { return CreateRectRgn(0, 0, 0, 0); }

HRGN RectRgn(CRectangle const &r)
{
    // GDI would normalise the sentinel into an edge far away.
    if (r.IsEmpty())
        return EmptyRgn();
    RECT rc{r.Left(), r.Top(), r.Right(), r.Bottom()};
    return CreateRectRgnIndirect(&rc);
}

// Fewer than three points enclose nothing, and GDI refuses them.
HRGN PolygonRgn(CPolygon const &poly)
{
    if (poly.Count() < 3 || poly.Count() > INT_MAX)
        return EmptyRgn();
    return CreatePolygonRgn(reinterpret_cast<POINT const *>(poly.GetPointArr()), int(poly.Count()), ALTERNATE);
}

HRGN PolyPolygonRgn(CPolyPolygon const &pp)
{
    std::vector<POINT> pts;
    std::vector<INT> counts;
    for (unsigned int k = 0, n = pp.Count(); k < n; ++k) {
        CPolygon poly = pp.GetObjectA(k);
        if (poly.Count() < 3 || poly.Count() > INT_MAX)
            continue;
        auto first = reinterpret_cast<POINT const *>(poly.GetPointArr());
        pts.insert(pts.end(), first, first + poly.Count());
        counts.push_back(INT(poly.Count()));
    }
    if (counts.empty() || counts.size() > INT_MAX)
        return EmptyRgn();
    return CreatePolyPolygonRgn(pts.data(), counts.data(), int(counts.size()), ALTERNATE);
}

// The rectangles of a platform region as closed outlines: the platform's
// rectangles do not overlap, so the alternate fill of their outlines is
// exactly their union.
CPolyPolygon *RectListOf(HRGN h)
{
    auto *pp = new CPolyPolygon;
    DWORD size = h ? GetRegionData(h, 0, nullptr) : 0;
    if (!size)
        return pp;
    std::vector<unsigned char> buf(size);
    auto *data = reinterpret_cast<RGNDATA *>(buf.data());
    if (GetRegionData(h, size, data) != size)
        return pp;
    RECT const *rects = reinterpret_cast<RECT const *>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
        pp->Insert(CPolygon(CRectangle(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom)), i);
    return pp;
}

// Outlines made by RectListOf: the corners 0 and 2 of each are the rectangle.
HRGN RectListRgn(CPolyPolygon const &pp)
{
    unsigned int n = pp.Count();
    std::vector<unsigned char> buf(sizeof(RGNDATAHEADER) + std::size_t(n) * sizeof(RECT));
    auto *data = reinterpret_cast<RGNDATA *>(buf.data());
    RECT *rects = reinterpret_cast<RECT *>(data->Buffer);
    RECT bound{0, 0, 0, 0};
    for (unsigned int k = 0; k < n; ++k) {
        CPolygon poly = pp.GetObjectA(k);
        RECT r{poly[0].X(), poly[0].Y(), poly[2].X(), poly[2].Y()};
        rects[k] = r;
        if (k == 0 || r.left < bound.left) bound.left = r.left;
        if (k == 0 || r.top < bound.top) bound.top = r.top;
        if (k == 0 || r.right > bound.right) bound.right = r.right;
        if (k == 0 || r.bottom > bound.bottom) bound.bottom = r.bottom;
    }
    data->rdh = RGNDATAHEADER{sizeof(RGNDATAHEADER), RDH_RECTANGLES, n, DWORD(n * sizeof(RECT)), bound};
    return ExtCreateRegion(nullptr, DWORD(buf.size()), data);
}

// The point set of a body as a new platform region; null only when GDI fails.
HRGN ShapeRgn(ImpRegion const *b)
{
    if (!b)
        return EmptyRgn();
    if (b->m_eType == RegionTypeRectangle)
        return RectRgn(b->Rect());
    HRGN h = nullptr;
    if (b->m_hRgn) {
        h = EmptyRgn();
        if (h && CombineRgn(h, b->m_hRgn, nullptr, RGN_COPY) == ERROR) {
            DeleteObject(h);
            h = nullptr;
        }
    } else if (b->m_eType == RegionTypePolygon) {
        h = PolygonRgn(b->Poly());
    } else {
        h = b->m_bRectList ? RectListRgn(b->PolyPoly()) : PolyPolygonRgn(b->PolyPoly());
    }
    if (h && b->m_bClip) {
        HRGN clip = RectRgn(b->m_aClipRect);
        int res = clip ? CombineRgn(h, h, clip, RGN_AND) : ERROR;
        if (clip)
            DeleteObject(clip);
        if (res == ERROR) {
            DeleteObject(h);
            h = nullptr;
        }
    }
    return h;
}

struct RgnDeleter
{
    void operator()(HRGN h) const { DeleteObject(h); }
};
using RgnPtr = std::unique_ptr<std::remove_pointer_t<HRGN>, RgnDeleter>;

} // namespace

Region::Region(CRectangle const &rect) : m_pImpl(nullptr)
{
    if (!rect.IsEmpty())
        m_pImpl = new ImpRegion(RegionTypeRectangle, new CRectangle(rect));
}

Region::Region(CPolygon const &poly) : m_pImpl(new ImpRegion(RegionTypePolygon, new CPolygon(poly))) {}

Region::Region(CPolyPolygon const &pp) : m_pImpl(new ImpRegion(RegionTypePolyPolygon, new CPolyPolygon(pp))) {}

Region::Region(Region const &r) : m_pImpl(Share(r.m_pImpl)) {}

Region &Region::operator=(Region const &r)
{
    ImpRegion *b = Share(r.m_pImpl);
    ImpRelease();
    m_pImpl = b;
    return *this;
}

Region::~Region() { ImpRelease(); }

void Region::ImpRelease()
{
    if (m_pImpl) {
        if (m_pImpl->m_nRefCount)
            --m_pImpl->m_nRefCount;
        else
            delete m_pImpl;
    }
    m_pImpl = nullptr;
}

void Region::ImpMakeUnique()
{
    if (!m_pImpl || !m_pImpl->m_nRefCount)
        return;
    ImpRegion *c = new ImpRegion(*m_pImpl);
    --m_pImpl->m_nRefCount;
    m_pImpl = c;
}

RegionType Region::GetType() const noexcept { return m_pImpl ? m_pImpl->m_eType : RegionTypeNull; }

bool Region::operator==(Region const &r) const
{
    if (m_pImpl == r.m_pImpl)
        return true;
    if (!m_pImpl || !r.m_pImpl || m_pImpl->m_eType != r.m_pImpl->m_eType)
        return false;
    switch (m_pImpl->m_eType) {
    case RegionTypeRectangle: return m_pImpl->Rect() == r.m_pImpl->Rect();
    case RegionTypePolygon: return m_pImpl->Poly() == r.m_pImpl->Poly();
    default: return m_pImpl->PolyPoly() == r.m_pImpl->PolyPoly();
    }
}

void Region::Intersect(CRectangle const &rect)
{
    if (!m_pImpl)
        return;
    ImpMakeUnique();
    if (m_pImpl->m_eType == RegionTypeRectangle) {
        if (m_pImpl->Rect().Intersection(rect).IsEmpty())
            ImpRelease();
        return;
    }
    if (m_pImpl->m_bClip) {
        m_pImpl->m_aClipRect.Intersection(rect);
    } else {
        m_pImpl->m_aClipRect = rect;
        m_pImpl->m_bClip = 1;
    }
}

void Region::Move(int dx, int dy)
{
    if (!m_pImpl)
        return;
    ImpMakeUnique();
    Point d(dx, dy);
    switch (m_pImpl->m_eType) {
    case RegionTypeRectangle:
        m_pImpl->Rect().Move(dx, dy);
        // A rectangle pushed beyond the coordinate space is gone.
        if (m_pImpl->Rect().IsEmpty())
            ImpRelease();
        break;
    case RegionTypePolygon: {
        CPolygon &poly = m_pImpl->Poly();
        for (unsigned int i = 0, n = poly.Count(); i < n; ++i)
            poly[i] += d;
        break;
    }
    default: {
        ImpRegion *b = m_pImpl;
        // Points stop at the edge of the coordinate space, and rectangles
        // squeezed there could overlap: then they are polygons again, and the
        // platform region no longer stands for them.
        CRectangle box = GetBoundRect();
        bool fits = (long long)box.Left() + dx >= INT_MIN && (long long)box.Right() + dx <= INT_MAX &&
                    (long long)box.Top() + dy >= INT_MIN && (long long)box.Bottom() + dy <= INT_MAX;
        if (b->m_hRgn) {
            if (fits) {
                OffsetRgn(b->m_hRgn, dx, dy);
                if (!b->m_pShape)
                    break; // the rectangles are read from the moved region later
            } else {
                b->PolyPoly();
                DeleteObject(b->m_hRgn);
                b->m_hRgn = nullptr;
            }
        }
        if (!fits)
            b->m_bRectList = false;
        CPolyPolygon &pp = b->PolyPoly();
        for (unsigned int k = 0, n = pp.Count(); k < n; ++k) {
            CPolygon poly = pp.GetObjectA(k);
            for (unsigned int i = 0, c = poly.Count(); i < c; ++i)
                poly[i] += d;
            pp.Replace(poly, k);
        }
        break;
    }
    }
}

namespace {

void Widen(CRectangle &box, CPolygon const &poly)
{
    for (unsigned int i = 0, n = poly.Count(); i < n; ++i) {
        Point const &p = poly[i];
        if (p.X() < box.Left()) box.Left() = p.X();
        if (p.X() > box.Right()) box.Right() = p.X();
        if (p.Y() < box.Top()) box.Top() = p.Y();
        if (p.Y() > box.Bottom()) box.Bottom() = p.Y();
    }
}

} // namespace

CRectangle Region::GetBoundRect() const
{
    if (!m_pImpl)
        return CRectangle();
    if (m_pImpl->m_eType == RegionTypeRectangle)
        return m_pImpl->Rect();
    CRectangle box(0, 0, 0, 0);
    if (m_pImpl->m_eType == RegionTypePolygon) {
        Widen(box, m_pImpl->Poly());
    } else if (!m_pImpl->m_pShape && m_pImpl->m_hRgn) {
        // The outlines' corners are the rectangles' edges, so the platform's
        // box is their bound.
        RECT rc;
        if (GetRgnBox(m_pImpl->m_hRgn, &rc) != ERROR && rc.right > rc.left)
            box = CRectangle(std::min(0L, rc.left), std::min(0L, rc.top), std::max(0L, rc.right),
                             std::max(0L, rc.bottom));
    } else {
        CPolyPolygon const &pp = m_pImpl->PolyPoly();
        for (unsigned int k = 0, n = pp.Count(); k < n; ++k)
            Widen(box, pp.GetObjectA(k));
    }
    return box;
}

HRGN Region::CreateHRGN() const
{
    if (!m_pImpl || m_pImpl->m_eType != RegionTypeRectangle || m_pImpl->Rect().IsEmpty())
        return nullptr;
    return RectRgn(m_pImpl->Rect());
}

CRgn *Region::CreateCRgn() const
{
    HRGN h = CreateHRGN();
    if (!h)
        return nullptr;
    CRgn *rgn = new CRgn;
    rgn->Attach(h);
    return rgn;
}

HRGN Region::CreateShapeHRGN() const { return m_pImpl ? ShapeRgn(m_pImpl) : nullptr; }

bool Region::Union(Region const &r) { return ImpCombine(r, RGN_OR); }
bool Region::Exclude(Region const &r) { return ImpCombine(r, RGN_DIFF); }
bool Region::Xor(Region const &r) { return ImpCombine(r, RGN_XOR); }

bool Region::Intersect(Region const &r)
{
    // Two rectangles meet in a rectangle: no platform round trip needed.
    if (GetType() == RegionTypeRectangle && r.GetType() == RegionTypeRectangle) {
        Intersect(r.m_pImpl->Rect());
        return true;
    }
    return ImpCombine(r, RGN_AND);
}

bool Region::ImpCombine(Region const &r, int mode)
{
    RgnPtr b(ShapeRgn(r.m_pImpl)), res;
    if (!b)
        return false;
    int kind;
    ImpRegion *own = m_pImpl;
    if (own && !own->m_nRefCount && own->m_hRgn && !own->m_bClip) {
        // Unshared and unclipped: the platform region can take the result
        // itself, and a complex result stays there without being read out.
        kind = CombineRgn(own->m_hRgn, own->m_hRgn, b.get(), mode);
        if (kind == ERROR)
            return false;
        own->DropShape();
        if (kind == COMPLEXREGION)
            return true;
        res.reset(own->m_hRgn);
        own->m_hRgn = nullptr;
    } else {
        RgnPtr a(ShapeRgn(own));
        res.reset(EmptyRgn());
        if (!a || !res)
            return false;
        kind = CombineRgn(res.get(), a.get(), b.get(), mode);
        if (kind == ERROR)
            return false;
    }

    Region result;
    if (kind == SIMPLEREGION) {
        RECT rc;
        GetRgnBox(res.get(), &rc);
        result = Region(CRectangle(rc.left, rc.top, rc.right, rc.bottom));
    } else if (kind == COMPLEXREGION) {
        result.m_pImpl = new ImpRegion(RegionTypePolyPolygon, nullptr);
        result.m_pImpl->m_bRectList = true;
        result.m_pImpl->m_hRgn = res.release();
    }
    *this = result;
    return true;
}
