#include "controls/PushButton.h"

PushButton::PushButton(Window *pParent, int nStyle)
{
    InitButton(pParent, nStyle, 32, pParent ? GetControlIdCnt() : 0);
}

PushButton::PushButton(Window *pParent, int nStyle, int nType)
{
    InitButton(pParent, nStyle, nType, pParent ? GetControlIdCnt() : 0);
}
