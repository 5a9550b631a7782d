#include "controls/RadioButton.h"

RadioButton::RadioButton(Window *pParent, int nStyle)
{
    InitButton(pParent, nStyle, 512, pParent ? GetControlIdCnt() : 0);
}
