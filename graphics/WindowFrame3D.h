#pragma once
// A raised or sunken frame: a grey ramp when it is thicker than one pixel,
// otherwise (or when it follows a texture) light and dark lines.
#include "graphics/Pen.h"
#include "graphics/WindowFrame.h"

class KSAPI WindowFrame3D : public WindowFrame
{
public:
    WindowFrame3D(OutputDevice *pDev, short nThick, short nDist, bool bSunken);
    WindowFrame3D(WindowFrame3D const &) = default;
    WindowFrame3D &operator=(WindowFrame3D const &) = default;
    ~WindowFrame3D() override;

    void Draw() override;
    // The light and dark pens take the texture's light and shadow colours.
    void SetTexture(Texture const &rTexture) override;

    void SetLightPen(Pen const &rPen) { m_aLightPen = rPen; }
    void SetDarkPen(Pen const &rPen) { m_aDarkPen = rPen; }
    Pen const &GetLightPen() const { return m_aLightPen; }
    Pen const &GetDarkPen() const { return m_aDarkPen; }
    bool IsSunken() const { return m_bSunken; }

protected:
    bool m_bSunken;
    Pen m_aLightPen;
    Pen m_aDarkPen;
};
