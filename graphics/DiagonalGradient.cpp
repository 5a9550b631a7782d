#include "graphics/DiagonalGradient.h"

DiagonalGradient::~DiagonalGradient() = default;

RectGradient *DiagonalGradient::Clone() const
{
    return new DiagonalGradient(*this);
}

Point DiagonalGradient::GetEndPoint(CRectangle const &rRect) const
{
    Point const c = rRect.BottomRight();
    return Point(c.X() + 1, c.Y() + 1);
}
