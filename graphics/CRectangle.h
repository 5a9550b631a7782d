#pragma once
// Integer rectangle with inclusive right and bottom: a rectangle at Left with
// width w has Right = Left + w - 1. An empty extent is not a zero size but
// the sentinel RECT_EMPTY in Right or Bottom. Rectangles need not be
// normalised; a Right left of Left gives a negative width.
//
// Arithmetic that would carry an edge past the limits of int (or onto the
// sentinel) never wraps into some other rectangle: a right or bottom edge
// that cannot be represented becomes RECT_EMPTY, and a moved left or top edge
// that cannot be represented turns the whole rectangle into the default
// empty one.
#include <climits>

#include "frame/Kestrel5Api.h"
#include "graphics/Point.h"
#include "graphics/Size.h"
#include "mfc/CRect.h"
#include "text/SString.h"

// Right or Bottom holding this value marks a rectangle without width or
// height.
constexpr int RECT_EMPTY = INT_MIN;

class KSAPI CRectangle
{
public:
    CRectangle() noexcept : m_nLeft(0), m_nTop(0), m_nRight(RECT_EMPTY), m_nBottom(RECT_EMPTY) {}
    CRectangle(int left, int top, int right, int bottom) noexcept
        : m_nLeft(left), m_nTop(top), m_nRight(right), m_nBottom(bottom)
    {
    }
    CRectangle(Point const &topLeft, Point const &bottomRight) noexcept
        : m_nLeft(topLeft.X()), m_nTop(topLeft.Y()), m_nRight(bottomRight.X()), m_nBottom(bottomRight.Y())
    {
    }
    CRectangle(Point const &pos, Size const &size) noexcept
        : m_nLeft(pos.X()), m_nTop(pos.Y()), m_nRight(ImpFarEdge(pos.X(), size.Width())),
          m_nBottom(ImpFarEdge(pos.Y(), size.Height()))
    {
    }
    // The four numbers are taken as they are in both directions: a CRect's
    // exclusive right becomes this rectangle's inclusive one.
    CRectangle(CRect const &r) noexcept : m_nLeft(r.left), m_nTop(r.top), m_nRight(r.right), m_nBottom(r.bottom) {}
    CRectangle(CRectangle const &) noexcept = default;
    CRectangle &operator=(CRectangle const &) noexcept = default;
    CRectangle &operator=(CRect const &r) noexcept
    {
        m_nLeft = r.left; m_nTop = r.top; m_nRight = r.right; m_nBottom = r.bottom;
        return *this;
    }
    operator CRect() const noexcept { return CRect(m_nLeft, m_nTop, m_nRight, m_nBottom); }

    int Left() const noexcept { return m_nLeft; }
    int Top() const noexcept { return m_nTop; }
    int Right() const noexcept { return m_nRight; }
    int Bottom() const noexcept { return m_nBottom; }
    int &Left() noexcept { return m_nLeft; }
    int &Top() noexcept { return m_nTop; }
    int &Right() noexcept { return m_nRight; }
    int &Bottom() noexcept { return m_nBottom; }

    // Negative for a non-normalised rectangle; a width beyond the range of
    // int saturates.
    int GetWidth() const noexcept { return ImpExtent(m_nLeft, m_nRight); }
    int GetHeight() const noexcept { return ImpExtent(m_nTop, m_nBottom); }
    Size GetSize() const noexcept { return Size(GetWidth(), GetHeight()); }
    void SetWidth(int w) noexcept { m_nRight = ImpFarEdge(m_nLeft, w); }
    void SetHeight(int h) noexcept { m_nBottom = ImpFarEdge(m_nTop, h); }
    Size ChangeSize(Size const &size) noexcept
    {
        Size old = GetSize();
        SetWidth(size.Width());
        SetHeight(size.Height());
        return old;
    }
    Point ChangePos(Point const &pos) noexcept;

    void Move(int dx, int dy) noexcept;
    void Inflate(int dx, int dy) noexcept;
    void Scale(double fx, double fy) noexcept;
    void Justify() noexcept
    {
        if (m_nRight != RECT_EMPTY && m_nRight < m_nLeft) {
            int t = m_nLeft; m_nLeft = m_nRight; m_nRight = t;
        }
        if (m_nBottom != RECT_EMPTY && m_nBottom < m_nTop) {
            int t = m_nTop; m_nTop = m_nBottom; m_nBottom = t;
        }
    }

    // Corners: an empty right or bottom stands for the left or top.
    Point TopLeft() const noexcept { return Point(m_nLeft, m_nTop); }
    Point GetPos() const noexcept { return Point(m_nLeft, m_nTop); }
    Point TopRight() const noexcept { return Point(ImpRightOrLeft(), m_nTop); }
    Point BottomLeft() const noexcept { return Point(m_nLeft, ImpBottomOrTop()); }
    Point BottomRight() const noexcept { return Point(ImpRightOrLeft(), ImpBottomOrTop()); }
    Point Center() const noexcept;
    Point LeftCenter() const noexcept;
    Point RightCenter() const noexcept;
    Point TopCenter() const noexcept;
    Point BottomCenter() const noexcept;

    bool IsEmpty() const noexcept { return m_nRight == RECT_EMPTY || m_nBottom == RECT_EMPTY; }
    bool IsInside(Point const &p) const noexcept;
    bool IsInside(CRectangle const &r) const noexcept;

    // Both are normalised first; rectangles that only touch meet in a line
    // one pixel wide, since edges are inclusive.
    CRectangle &Intersection(CRectangle const &r) noexcept
    {
        if (IsEmpty())
            return *this;
        if (r.IsEmpty())
            return *this = CRectangle();
        CRectangle o(r);
        Justify();
        o.Justify();
        if (o.m_nLeft > m_nLeft) m_nLeft = o.m_nLeft;
        if (o.m_nRight < m_nRight) m_nRight = o.m_nRight;
        if (o.m_nTop > m_nTop) m_nTop = o.m_nTop;
        if (o.m_nBottom < m_nBottom) m_nBottom = o.m_nBottom;
        if (m_nRight < m_nLeft || m_nBottom < m_nTop)
            *this = CRectangle();
        return *this;
    }
    CRectangle GetIntersection(CRectangle const &r) const noexcept
    {
        CRectangle t(*this);
        return t.Intersection(r);
    }
    bool Overlaps(CRectangle const &r) const noexcept { return !GetIntersection(r).IsEmpty(); }
    // The result is normalised. Its far edge is taken over the new near edge
    // and the other three coordinates, but not over this rectangle's old near
    // edge.
    CRectangle &Union(CRectangle const &r) noexcept
    {
        if (r.IsEmpty())
            return *this;
        if (IsEmpty())
            return *this = r;
        ImpUnionAxis(m_nLeft, m_nRight, r.m_nLeft, r.m_nRight);
        ImpUnionAxis(m_nTop, m_nBottom, r.m_nTop, r.m_nBottom);
        return *this;
    }
    CRectangle GetUnion(CRectangle const &r) const noexcept
    {
        CRectangle t(*this);
        return t.Union(r);
    }

    // Clamps p into the rectangle (an empty extent counts as its left or top
    // edge). Always false.
    bool MakeInside(Point &p) const noexcept;

    bool operator==(CRectangle const &r) const noexcept
    {
        return m_nLeft == r.m_nLeft && m_nTop == r.m_nTop && m_nRight == r.m_nRight && m_nBottom == r.m_nBottom;
    }
    bool operator!=(CRectangle const &r) const noexcept { return !(*this == r); }

    // "l=…, r=…, t=…, b=…, WID=…, HGT=…" where WID and HGT are the raw
    // differences Right - Left and Bottom - Top.
    SString GetStr() const;

    // The right (or bottom) edge of an extent of w pixels from start:
    // RECT_EMPTY for w = 0 and for an edge that int cannot hold.
    static int ImpFarEdge(int start, int w) noexcept
    {
        if (w == 0)
            return RECT_EMPTY;
        return ImpEdge((long long)start + w + (w > 0 ? -1 : 1));
    }
    static int ImpEdge(long long v) noexcept
    {
        return v <= (long long)RECT_EMPTY || v > (long long)INT_MAX ? RECT_EMPTY : int(v);
    }
    static int ImpExtent(int start, int end) noexcept
    {
        if (end == RECT_EMPTY)
            return 0;
        // Saturated symmetrically, so that a width can always be negated.
        long long d = (long long)end - start;
        d = d >= 0 ? d + 1 : d - 1;
        return d > INT_MAX ? INT_MAX : d < -INT_MAX ? -INT_MAX : int(d);
    }

private:
    static void ImpUnionAxis(int &lo, int &hi, int rLo, int rHi) noexcept
    {
        int nl = lo < rLo ? lo : rLo;
        if (hi < nl) nl = hi;
        if (rHi < nl) nl = rHi;
        int nh = nl > rLo ? nl : rLo;
        if (hi > nh) nh = hi;
        if (rHi > nh) nh = rHi;
        lo = nl;
        hi = nh;
    }
    int ImpRightOrLeft() const noexcept { return m_nRight == RECT_EMPTY ? m_nLeft : m_nRight; }
    int ImpBottomOrTop() const noexcept { return m_nBottom == RECT_EMPTY ? m_nTop : m_nBottom; }

    int m_nLeft;
    int m_nTop;
    int m_nRight;
    int m_nBottom;
};
