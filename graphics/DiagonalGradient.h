#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/LinearRectGradient.h"

// From the top-left corner to one pixel beyond the bottom-right corner.
class KSAPI DiagonalGradient : public LinearRectGradient
{
public:
    explicit DiagonalGradient(ColorPair const &rColors) : LinearRectGradient(rColors) {}
    DiagonalGradient(DiagonalGradient const &rOther) : LinearRectGradient(rOther) {}
    // A move is a copy: the description is a few values.
    DiagonalGradient(DiagonalGradient &&rOther) noexcept : LinearRectGradient(rOther) {}
    DiagonalGradient &operator=(DiagonalGradient const &rOther)
    {
        LinearRectGradient::operator=(rOther);
        return *this;
    }
    DiagonalGradient &operator=(DiagonalGradient &&rOther) noexcept
    {
        LinearRectGradient::operator=(rOther);
        return *this;
    }
    ~DiagonalGradient() override;

    RectGradient *Clone() const override;

protected:
    Point GetEndPoint(CRectangle const &rRect) const override;
};
