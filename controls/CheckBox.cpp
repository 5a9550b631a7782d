#include "controls/CheckBox.h"

CheckBox::CheckBox(Window *pParent, int nStyle) : bChecked(false)
{
    InitButton(pParent, nStyle, 256, pParent ? GetControlIdCnt() : 0);
}

void CheckBox::SetCheck(bool bCheck)
{
    Check(bCheck);
    bChecked = bCheck;
}

void CheckBox::MouseButtonDown(MouseEvent const &)
{
    bPressed = true; // no repetition for a check box
}

void CheckBox::MouseButtonUp(MouseEvent const &)
{
    if (!bHeld && bPressed) {
        // The platform toggles after this message: read the state first.
        bChecked = !IsChecked();
        Click();
    }
    ImpEndPress();
}
