#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/LinearRectGradient.h"

// Left to right: the second colour is reached one pixel right of the last column.
class KSAPI HorizontalGradient : public LinearRectGradient
{
public:
    explicit HorizontalGradient(ColorPair const &rColors) : LinearRectGradient(rColors) {}
    HorizontalGradient(HorizontalGradient const &rOther) : LinearRectGradient(rOther) {}
    // A move is a copy: the description is a few values.
    HorizontalGradient(HorizontalGradient &&rOther) noexcept : LinearRectGradient(rOther) {}
    HorizontalGradient &operator=(HorizontalGradient const &rOther)
    {
        LinearRectGradient::operator=(rOther);
        return *this;
    }
    HorizontalGradient &operator=(HorizontalGradient &&rOther) noexcept
    {
        LinearRectGradient::operator=(rOther);
        return *this;
    }
    ~HorizontalGradient() override;

    RectGradient *Clone() const override;

protected:
    Point GetEndPoint(CRectangle const &rRect) const override;
};
