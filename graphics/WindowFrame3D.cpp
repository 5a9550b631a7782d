#include "graphics/WindowFrame3D.h"

#include "graphics/OutputDevice.h"
#include "graphics/Texture.h"

WindowFrame3D::WindowFrame3D(OutputDevice *pDev, short nThick, short nDist, bool bSunken)
    : WindowFrame(pDev, nThick, nDist), m_bSunken(bSunken), m_aLightPen(Color(ColorNameButtonLight), 1, PS_SOLID),
      m_aDarkPen(Color(ColorNameButtonShadow), 1, PS_SOLID)
{
}

WindowFrame3D::~WindowFrame3D() = default;

namespace {

// A grey on the 16-bit scale as a solid pen: the top byte, at most 255.
Pen GreyPen(long nGrey16)
{
    long g = nGrey16 >> 8;
    if (g > 255)
        g = 255;
    if (g < 0)
        g = 0;
    return Pen(Color(static_cast<unsigned long>(RGB(g, g, g))), 1, PS_SOLID);
}

} // namespace

void WindowFrame3D::Draw()
{
    if (!m_bVisible || !m_pDev || DrawWithStylist())
        return;
    if (m_nThick == 0)
        m_nThick = 1;
    Pen old = m_pDev->GetPen();
    if (m_nThick > 1 && !m_bTextureBased) {
        long const step = 16383 / m_nThick;
        auto rising = [step](int i) { return GreyPen((49152 + step * i) % 65536); };
        auto falling = [step](int i) { return GreyPen(long(49152 - 1.5 * double(step) * i)); };
        for (int i = 0; i < m_nThick; ++i) {
            m_pDev->ChangePen(m_bSunken ? falling(i) : rising(i));
            DrawTop(i);
            DrawLeft(i);
        }
        for (int i = 0; i < m_nThick; ++i) {
            m_pDev->ChangePen(m_bSunken ? rising(i) : falling(i));
            DrawBottom(i);
            DrawRight(i);
        }
    } else {
        Pen const &first = m_bSunken ? m_aDarkPen : m_aLightPen;
        Pen const &second = m_bSunken ? m_aLightPen : m_aDarkPen;
        for (int i = 0; i < m_nThick; ++i) {
            m_pDev->ChangePen(first);
            DrawTop(i);
            DrawLeft(i);
            m_pDev->ChangePen(second);
            DrawBottom(i);
            DrawRight(i);
        }
    }
    m_pDev->ChangePen(old);
}

void WindowFrame3D::SetTexture(Texture const &rTexture)
{
    Color face, light, shadow;
    rTexture.Det3DColors(m_pDev, face, light, shadow);
    m_aLightPen = Pen(light, 1, PS_SOLID);
    m_aDarkPen = Pen(shadow, 1, PS_SOLID);
}
