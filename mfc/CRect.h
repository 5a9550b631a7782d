#pragma once
// The framework library's rectangle: the platform RECT (right and bottom
// exclusive) with constructors and the arithmetic the library uses. Kept in
// line so that it costs no more than the RECT it wraps; the set operations
// are written out here rather than calling user32, which would need
// <winuser.h> in every file that names a CRect.
#include <windef.h>

#include "mfc/CPoint.h"
#include "mfc/CSize.h"

class CRect : public tagRECT
{
public:
    CRect() noexcept { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) noexcept { left = l; top = t; right = r; bottom = b; }
    CRect(RECT const &srcRect) noexcept { *static_cast<RECT *>(this) = srcRect; }
    CRect(LPCRECT lpSrcRect) noexcept
    {
        if (lpSrcRect)
            *static_cast<RECT *>(this) = *lpSrcRect;
        else
            left = top = right = bottom = 0;
    }
    CRect(POINT point, SIZE size) noexcept
    {
        left = point.x; top = point.y;
        right = point.x + size.cx; bottom = point.y + size.cy;
    }
    CRect(POINT topLeft, POINT bottomRight) noexcept
    {
        left = topLeft.x; top = topLeft.y;
        right = bottomRight.x; bottom = bottomRight.y;
    }

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    // The two corners are laid out as POINTs inside the RECT.
    CPoint &TopLeft() noexcept { return *reinterpret_cast<CPoint *>(this); }
    CPoint &BottomRight() noexcept { return *(reinterpret_cast<CPoint *>(this) + 1); }
    CPoint const &TopLeft() const noexcept { return *reinterpret_cast<CPoint const *>(this); }
    CPoint const &BottomRight() const noexcept { return *(reinterpret_cast<CPoint const *>(this) + 1); }
    CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }

    bool IsRectEmpty() const noexcept { return right <= left || bottom <= top; }
    bool IsRectNull() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool PtInRect(POINT point) const noexcept
    {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }

    void SetRect(int x1, int y1, int x2, int y2) noexcept { left = x1; top = y1; right = x2; bottom = y2; }
    void SetRectEmpty() noexcept { left = top = right = bottom = 0; }
    void CopyRect(LPCRECT lpSrcRect) noexcept { if (lpSrcRect) *static_cast<RECT *>(this) = *lpSrcRect; }
    bool EqualRect(LPCRECT lpRect) const noexcept { return lpRect && *this == *lpRect; }

    void OffsetRect(int x, int y) noexcept { left += x; right += x; top += y; bottom += y; }
    void OffsetRect(POINT point) noexcept { OffsetRect(point.x, point.y); }
    void InflateRect(int x, int y) noexcept { left -= x; right += x; top -= y; bottom += y; }
    void DeflateRect(int x, int y) noexcept { InflateRect(-x, -y); }
    void NormalizeRect() noexcept
    {
        if (left > right) { int t = left; left = right; right = t; }
        if (top > bottom) { int t = top; top = bottom; bottom = t; }
    }
    void MoveToXY(int x, int y) noexcept { OffsetRect(x - left, y - top); }

    // As the platform answers: an empty result is (0, 0, 0, 0) and false.
    bool IntersectRect(LPCRECT a, LPCRECT b) noexcept
    {
        if (!a || !b) { SetRectEmpty(); return false; }
        RECT r{a->left > b->left ? a->left : b->left, a->top > b->top ? a->top : b->top,
               a->right < b->right ? a->right : b->right, a->bottom < b->bottom ? a->bottom : b->bottom};
        if (r.right <= r.left || r.bottom <= r.top) { SetRectEmpty(); return false; }
        *static_cast<RECT *>(this) = r;
        return true;
    }
    bool UnionRect(LPCRECT a, LPCRECT b) noexcept
    {
        if (!a || !b) { SetRectEmpty(); return false; }
        bool ea = a->right <= a->left || a->bottom <= a->top;
        bool eb = b->right <= b->left || b->bottom <= b->top;
        if (ea && eb) { SetRectEmpty(); return false; }
        if (ea) { *static_cast<RECT *>(this) = *b; return true; }
        if (eb) { *static_cast<RECT *>(this) = *a; return true; }
        RECT r{a->left < b->left ? a->left : b->left, a->top < b->top ? a->top : b->top,
               a->right > b->right ? a->right : b->right, a->bottom > b->bottom ? a->bottom : b->bottom};
        *static_cast<RECT *>(this) = r;
        return true;
    }

    bool operator==(RECT const &r) const noexcept
    {
        return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
    }
    bool operator!=(RECT const &r) const noexcept { return !(*this == r); }
    CRect &operator=(RECT const &srcRect) noexcept { *static_cast<RECT *>(this) = srcRect; return *this; }
    CRect &operator+=(POINT point) noexcept { OffsetRect(point); return *this; }
    CRect &operator-=(POINT point) noexcept { OffsetRect(-point.x, -point.y); return *this; }
};
