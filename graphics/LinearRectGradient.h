#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/Point.h"
#include "graphics/RectGradient.h"

// A gradient along a line from a rectangle's top-left corner to an end point
// that each subclass chooses; filled through GDI+ with optional frame lines.
// A clone made through this class alone is a plain RectGradient: only the
// subclasses know their direction.
class KSAPI LinearRectGradient : public RectGradient
{
public:
    explicit LinearRectGradient(ColorPair const &rColors) : RectGradient(rColors) {}
    LinearRectGradient(LinearRectGradient const &rOther) : RectGradient(rOther) {}
    LinearRectGradient &operator=(LinearRectGradient const &rOther)
    {
        RectGradient::operator=(rOther);
        return *this;
    }
    ~LinearRectGradient() override;

    bool FillRect(OutputDevice *pDev, CRectangle const &rRect) const override;
    RectGradient *Clone() const override;
    Gdiplus::Brush *CreateGdiplusBrush(CRectangle const &rRect) const override;

protected:
    // Where the second colour is reached when the ramp spans the rectangle.
    virtual Point GetEndPoint(CRectangle const &rRect) const = 0;
};
