#pragma once
// The framework library's point: the platform POINT with constructors and
// arithmetic, so that a CPoint can be handed to any function that takes a
// POINT* and back.
#include <windef.h>

class CSize;

class CPoint : public tagPOINT
{
public:
    CPoint() noexcept { x = 0; y = 0; }
    CPoint(int initX, int initY) noexcept { x = initX; y = initY; }
    CPoint(POINT initPt) noexcept { x = initPt.x; y = initPt.y; }
    CPoint(SIZE initSize) noexcept { x = initSize.cx; y = initSize.cy; }
    // The low word is x, the high word y, both signed (as in mouse messages).
    explicit CPoint(LPARAM dwPoint) noexcept
    {
        x = short(dwPoint & 0xFFFF);
        y = short((dwPoint >> 16) & 0xFFFF);
    }

    void Offset(int xOffset, int yOffset) noexcept { x += xOffset; y += yOffset; }
    void Offset(POINT point) noexcept { Offset(point.x, point.y); }
    void SetPoint(int X, int Y) noexcept { x = X; y = Y; }

    bool operator==(POINT point) const noexcept { return x == point.x && y == point.y; }
    bool operator!=(POINT point) const noexcept { return !(*this == point); }

    CPoint &operator+=(POINT point) noexcept { Offset(point); return *this; }
    CPoint &operator-=(POINT point) noexcept { x -= point.x; y -= point.y; return *this; }
    CPoint operator+(POINT point) const noexcept { return CPoint(x + point.x, y + point.y); }
    CPoint operator-(POINT point) const noexcept { return CPoint(x - point.x, y - point.y); }
    CPoint operator-() const noexcept { return CPoint(-x, -y); }
};
