#include "controls/GroupBox.h"

GroupBox::GroupBox(Window *pParent, int nStyle)
{
    InitButton(pParent, nStyle, 1024, pParent ? GetControlIdCnt() : 0);
}
