#include "controls/ZnEdit.h"

ZnEdit::~ZnEdit()
{
    if (m_hBackBrush)
        DeleteObject(m_hBackBrush);
}

void ZnEdit::SetBackColor(unsigned long nColor)
{
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(nColor));
    if (!brush)
        return;
    if (m_hBackBrush)
        DeleteObject(m_hBackBrush);
    m_hBackBrush = brush;
    m_nBackColor = nColor;
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, true);
}

bool ZnEdit::OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult)
{
    // A read-only field asks as a static text does.
    if ((message != WM_CTLCOLOREDIT && message != WM_CTLCOLORSTATIC) || !m_hBackBrush)
        return CEdit::OnChildNotify(message, wParam, lParam, pResult);
    SetBkColor(reinterpret_cast<HDC>(wParam), static_cast<COLORREF>(m_nBackColor));
    if (pResult)
        *pResult = reinterpret_cast<LRESULT>(m_hBackBrush);
    return true;
}
