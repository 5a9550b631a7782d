#include "graphics/WindowShadow.h"

#include <algorithm>

#include "graphics/FPoint.h"
#include "graphics/OutputDevice.h"
#include "graphics/TransparentColor.h"

WindowShadow::WindowShadow(OutputDevice *pDev, short nThick, short nDist) : WindowFrame(pDev, nThick, nDist) {}

WindowShadow::~WindowShadow() = default;

int WindowShadow::StepOpacity(int i)
{
    int p = 70;
    for (int k = 0; k < i && p >= 16; ++k)
        p -= 15;
    return p;
}

void WindowShadow::Draw()
{
    if (!m_bVisible || !m_pDev || m_nThick <= 0)
        return;
    int const L = m_aPos.X(), T = m_aPos.Y(), W = m_aSize.Width(), H = m_aSize.Height();
    int const f = Frame(), o = std::max(m_nThick / 2 - 1, 1);
    Color const grey(static_cast<unsigned long>(RGB(20, 20, 20)));
    for (int i = 0; i < m_nThick; ++i) {
        TransparentColor const c(grey, static_cast<unsigned char>(StepOpacity(i)));
        m_pDev->DrawLineHQ(FPoint(L + f + o, T + H - f + i), FPoint(L + W - f + i, T + H - f + i), c, 1.0, 2);
        m_pDev->DrawLineHQ(FPoint(L + W - f + i, T + H - f - 1 + i), FPoint(L + W - f + i, T + f + o), c, 1.0, 2);
    }
}
