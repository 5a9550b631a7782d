#include "controls/ControlBackBrush.h"

ControlBackBrush::~ControlBackBrush()
{
    if (m_hBrush)
        DeleteObject(m_hBrush);
}

bool ControlBackBrush::Set(unsigned long nColor, HWND hWnd)
{
    // Made before the old one goes, which the control may still be using
    // until its next paint asks again.
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(nColor));
    if (!brush)
        return false;
    if (m_hBrush)
        DeleteObject(m_hBrush);
    m_hBrush = brush;
    m_nColor = nColor;
    if (hWnd)
        InvalidateRect(hWnd, nullptr, true);
    return true;
}

bool ControlBackBrush::Answer(WPARAM hDC, LRESULT *pResult) const
{
    if (!m_hBrush)
        return false;
    SetBkColor(reinterpret_cast<HDC>(hDC), static_cast<COLORREF>(m_nColor));
    if (pResult)
        *pResult = reinterpret_cast<LRESULT>(m_hBrush);
    return true;
}
