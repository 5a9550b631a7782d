#include "controls/ZnScrollBar.h"

ZnScrollBar::~ZnScrollBar()
{
    if (m_hBackBrush)
        DeleteObject(m_hBackBrush);
}

void ZnScrollBar::SetBackColor(unsigned long nColor)
{
    // Made before the old one goes, which the control may still be using
    // until its next paint asks again.
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(nColor));
    if (!brush)
        return;
    if (m_hBackBrush)
        DeleteObject(m_hBackBrush);
    m_hBackBrush = brush;
    m_nBackColor = nColor;
    m_bBackBrushSet = true;
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, true);
}

bool ZnScrollBar::OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult)
{
    if (message != WM_CTLCOLORSCROLLBAR || !m_bBackBrushSet)
        return CBCGPScrollBar::OnChildNotify(message, wParam, lParam, pResult);
    SetBkColor(reinterpret_cast<HDC>(wParam), static_cast<COLORREF>(m_nBackColor));
    if (pResult)
        *pResult = reinterpret_cast<LRESULT>(m_hBackBrush);
    return true;
}
