#include "controls/FixedLinkText.h"
#include "window/MouseEvent.h"

#include <windows.h>

FixedLinkText::FixedLinkText(Window *pParent, int nStyle) : FixedText(pParent, nStyle), m_bPressed(false)
{
    ChangePointer(32649u /* the hand */, true);
}

COLORREF FixedLinkText::TextColour() const
{
    return IsWindowEnabled(GetHWND()) ? RGB(0, 0, 204) : GetSysColor(COLOR_GRAYTEXT);
}

void FixedLinkText::Paint(CRectangle const &rRect)
{
    FixedText::Paint(rRect);
}

void FixedLinkText::MouseButtonDown(MouseEvent const &rEvt)
{
    m_bPressed = rEvt.IsLeft();
}

void FixedLinkText::MouseButtonUp(MouseEvent const &rEvt)
{
    bool const click = m_bPressed && rEvt.IsLeftUp();
    m_bPressed = false;
    if (click)
        m_aLink.Call(this);
}
