#include "graphics/VerticalGradient.h"

VerticalGradient::~VerticalGradient() = default;

RectGradient *VerticalGradient::Clone() const
{
    return new VerticalGradient(*this);
}

Point VerticalGradient::GetEndPoint(CRectangle const &rRect) const
{
    Point const c = rRect.BottomLeft();
    return Point(c.X(), c.Y() + 1);
}
