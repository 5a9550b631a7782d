#include "graphics/WindowBlurShadow.h"

#include "graphics/OutputDevice.h"
#include "graphics/TransparentColor.h"

WindowBlurShadow::WindowBlurShadow(OutputDevice *pDev) : WindowFrame(pDev, 0, 0) {}

WindowBlurShadow::~WindowBlurShadow() = default;

void WindowBlurShadow::Draw()
{
    if (!m_bVisible || !m_pDev)
        return;
    m_pDev->DrawBlurShadow(m_aPos, m_aSize, 2, TransparentColor(Color(static_cast<unsigned long>(RGB(0, 0, 50))), 23));
}
