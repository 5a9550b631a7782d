#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/CPolygon.h"
#include "graphics/FRectangle.h"
#include "graphics/RectGradient.h"

namespace Gdiplus {
class PathGradientBrush;
}

// A gradient from a centre colour at a point inside the shape out to the
// pair's colours at its rim: a rectangle's corners, a polygon's points or an
// ellipse's outline. The centre is placed in percent of the shape's extent;
// the centre and surround transparencies are the opacities of the centre
// colour and of the rim.
//
// Unlike the linear kinds, a copy carries the centre and both
// transparencies, since they shape the ramp itself.
class KSAPI CenterPointGradient : public RectGradient
{
public:
    CenterPointGradient(ColorPair const &rColors, Color const &rCenter);
    CenterPointGradient(CenterPointGradient const &rOther);
    CenterPointGradient &operator=(CenterPointGradient const &rOther);
    ~CenterPointGradient() override;

    bool FillRect(OutputDevice *pDev, CRectangle const &rRect) const override;
    RectGradient *Clone() const override;
    // A path-gradient brush over the rectangle (CreatePathGradientBrush).
    Gdiplus::Brush *CreateGdiplusBrush(CRectangle const &rRect) const override;
    // The ellipse inscribed in the rectangle, outlined with the pen when it
    // is valid. True when the ellipse could be laid out; the fill's own
    // failure does not change that.
    virtual bool FillEllipse(OutputDevice *pDev, FRectangle const &rRect) const;

    // Brushes that the caller deletes; null when GDI+ refuses the shape.
    // Over a rectangle: the corners take the pair's colours, first at the
    // top (at the left with SetHorizontal) and second opposite, and the
    // bottom-left corner the surround transparency.
    Gdiplus::PathGradientBrush *CreatePathGradientBrush(CRectangle const &rRect) const;
    // Over a polygon: the rim in the first colour with the surround
    // transparency and the platform's own centre in the second colour with
    // the centre transparency; the centre colour and position play no part.
    Gdiplus::PathGradientBrush *CreatePathGradientBrush(CPolygon const &rPoly) const;
    // Over the ellipse inscribed in the rectangle: the rim in the first
    // colour with the surround transparency.
    Gdiplus::PathGradientBrush *CreateEllipticPathGradientBrush(FRectangle const &rRect) const;

    Color GetCenterColor() const { return m_aCenterColor; }
    // The centre in percent of the width and of the height from the left and
    // top edges; 50, 50 is the middle.
    void SetCenterPercent(int nX, int nY)
    {
        m_nCenterX = nX;
        m_nCenterY = nY;
    }
    int GetCenterPercentX() const { return m_nCenterX; }
    int GetCenterPercentY() const { return m_nCenterY; }
    // The rectangle's colours run from left to right instead of top to
    // bottom.
    void SetHorizontal(bool bHorizontal) { m_bHorizontal = bHorizontal; }
    bool IsHorizontal() const { return m_bHorizontal; }
    // Ellipses are drawn with high-quality smoothing.
    void SetAntiAliasing(bool bAntiAliasing) { m_bAntiAliasing = bAntiAliasing; }
    bool IsAntiAliasing() const { return m_bAntiAliasing; }

private:
    Color m_aCenterColor;
    int m_nCenterX;
    int m_nCenterY;
    bool m_bHorizontal;
    bool m_bAntiAliasing;
};
