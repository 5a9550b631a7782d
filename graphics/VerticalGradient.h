#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/LinearRectGradient.h"

// Top to bottom: the second colour is reached one pixel below the bottom row.
class KSAPI VerticalGradient : public LinearRectGradient
{
public:
    explicit VerticalGradient(ColorPair const &rColors) : LinearRectGradient(rColors) {}
    VerticalGradient(VerticalGradient const &rOther) : LinearRectGradient(rOther) {}
    // A move is a copy: the description is a few values.
    VerticalGradient(VerticalGradient &&rOther) noexcept : LinearRectGradient(rOther) {}
    VerticalGradient &operator=(VerticalGradient const &rOther)
    {
        LinearRectGradient::operator=(rOther);
        return *this;
    }
    VerticalGradient &operator=(VerticalGradient &&rOther) noexcept
    {
        LinearRectGradient::operator=(rOther);
        return *this;
    }
    ~VerticalGradient() override;

    RectGradient *Clone() const override;

protected:
    Point GetEndPoint(CRectangle const &rRect) const override;
};
