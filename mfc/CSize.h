#pragma once
// The framework library's size: the platform SIZE with constructors and
// arithmetic.
#include <windef.h>

class CSize : public tagSIZE
{
public:
    CSize() noexcept { cx = 0; cy = 0; }
    CSize(int initCX, int initCY) noexcept { cx = initCX; cy = initCY; }
    CSize(SIZE initSize) noexcept { cx = initSize.cx; cy = initSize.cy; }
    CSize(POINT initPt) noexcept { cx = initPt.x; cy = initPt.y; }

    void SetSize(int CX, int CY) noexcept { cx = CX; cy = CY; }

    bool operator==(SIZE size) const noexcept { return cx == size.cx && cy == size.cy; }
    bool operator!=(SIZE size) const noexcept { return !(*this == size); }

    CSize &operator+=(SIZE size) noexcept { cx += size.cx; cy += size.cy; return *this; }
    CSize &operator-=(SIZE size) noexcept { cx -= size.cx; cy -= size.cy; return *this; }
    CSize operator+(SIZE size) const noexcept { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(SIZE size) const noexcept { return CSize(cx - size.cx, cy - size.cy); }
    CSize operator-() const noexcept { return CSize(-cx, -cy); }
};
