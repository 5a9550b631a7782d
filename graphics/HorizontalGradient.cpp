#include "graphics/HorizontalGradient.h"

HorizontalGradient::~HorizontalGradient() = default;

RectGradient *HorizontalGradient::Clone() const
{
    return new HorizontalGradient(*this);
}

Point HorizontalGradient::GetEndPoint(CRectangle const &rRect) const
{
    Point const c = rRect.TopRight();
    return Point(c.X() + 1, c.Y());
}
