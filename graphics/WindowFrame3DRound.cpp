#include "graphics/WindowFrame3DRound.h"

#include "graphics/OutputDevice.h"

WindowFrame3DRound::WindowFrame3DRound(OutputDevice *pDev, short nThick, short nDist, bool bSunken)
    : WindowFrame3D(pDev, nThick, nDist, bSunken)
{
}

WindowFrame3DRound::~WindowFrame3DRound() = default;

void WindowFrame3DRound::Draw()
{
    if (!m_bVisible || !m_pDev || DrawWithStylist())
        return;
    if (m_nThick == 0)
        m_nThick = 1;
    // The channels wrap like bytes: a light colour darker than the dark one
    // fades the long way round, as the byte arithmetic has always done.
    COLORREF const L = m_aLightPen.GetColor().GetLong(), D = m_aDarkPen.GetColor().GetLong();
    auto shift = [&](int i, int nShift) {
        int const diff = ((int(L >> nShift) & 0xFF) - (int(D >> nShift) & 0xFF)) & 0xFF;
        return int(diff * (double(i) / m_nThick) + 0.5) & 0xFF;
    };
    auto colour = [&](int i, bool bLight) {
        int c[3];
        for (int k = 0; k < 3; ++k) {
            int const s = shift(i, 8 * k);
            c[k] = bLight ? ((int(L >> (8 * k)) & 0xFF) - s) & 0xFF : ((int(D >> (8 * k)) & 0xFF) + s) & 0xFF;
        }
        return Pen(Color(static_cast<unsigned long>(RGB(c[0], c[1], c[2]))), 1, PS_SOLID);
    };
    Pen old = m_pDev->GetPen();
    for (int i = 0; i < m_nThick; ++i) {
        m_pDev->ChangePen(colour(i, true));
        DrawTop(i);
        DrawLeft(i);
    }
    for (int i = 0; i < m_nThick; ++i) {
        m_pDev->ChangePen(colour(i, false));
        DrawRight(i);
        DrawBottom(i);
    }
    m_pDev->ChangePen(old);
}
