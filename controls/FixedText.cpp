#include "controls/FixedText.h"

#include <windows.h>

FixedText::FixedText(Window *pParent, int nStyle) : m_nStyles(FIXEDTEXT_LEFT | FIXEDTEXT_VCENTER), m_nPadX(2), m_nPadY(1)
{
    InitStatic(pParent, pParent ? pParent->GetPCWnd() : nullptr, nStyle, pParent ? GetControlIdCnt() : 0);
}

FixedText::FixedText(CWnd *pParentWnd, int nStyle) : m_nStyles(FIXEDTEXT_LEFT | FIXEDTEXT_VCENTER), m_nPadX(2), m_nPadY(1)
{
    InitStatic(nullptr, pParentWnd, nStyle, pParentWnd ? GetControlIdCnt() : 0);
}

void FixedText::SetText(SString const &rText)
{
    m_aText = rText;
    Window::SetText(rText); // screen readers and GetWindowText see it too
    Invalidate();
}

void FixedText::SetStyles(unsigned long nStyles)
{
    if (nStyles == m_nStyles)
        return;
    m_nStyles = nStyles;
    Invalidate();
}

void FixedText::SetPadding(int nX, int nY)
{
    m_nPadX = nX < 0 ? 0 : nX;
    m_nPadY = nY < 0 ? 0 : nY;
    Invalidate();
}

COLORREF FixedText::TextColour() const
{
    return GetSysColor(IsWindowEnabled(GetHWND()) ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
}

void FixedText::Paint(CRectangle const &)
{
    // Through the control's own device: during a paint its HDC is the paint
    // DC, clipped to what needs drawing.
    HDC dc = GethDC();
    HWND h = GetHWND();
    if (!dc || !h)
        return;
    RECT all;
    ::GetClientRect(h, &all);
    Erase(Color(static_cast<unsigned long>(GetSysColor(COLOR_BTNFACE))),
          CRectangle(Point(0, 0), Size(all.right, all.bottom)));
    RECT text{all.left + m_nPadX, all.top + m_nPadY, all.right - m_nPadX, all.bottom - m_nPadY};
    UINT flags = DT_NOPREFIX;
    if (m_nStyles & FIXEDTEXT_CENTER)
        flags |= DT_CENTER;
    else if (m_nStyles & FIXEDTEXT_RIGHT)
        flags |= DT_RIGHT;
    if (m_nStyles & FIXEDTEXT_WORDBREAK)
        flags |= DT_WORDBREAK;
    else if (m_nStyles & FIXEDTEXT_VCENTER)
        flags |= DT_SINGLELINE | DT_VCENTER;
    if (m_nStyles & FIXEDTEXT_ELLIPSIS)
        flags |= DT_END_ELLIPSIS;
    Font font = GetFont();
    if (Underlined())
        font.ChangeUnderline(true); // a copy of its own: the device's font stays as it is
    HGDIOBJ old = SelectObject(dc, font.IsEmpty() ? GetHFont() : font.GethFont());
    int const oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF const oldColour = SetTextColor(dc, TextColour());
    ::DrawTextA(dc, m_aText.GetStr(), m_aText.Len(), &text, flags);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, old);
}
