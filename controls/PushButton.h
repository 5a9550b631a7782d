#pragma once
#include "controls/Button.h"

class KSAPI PushButton : public Button
{
public:
    PushButton() = default;
    PushButton(Window *pParent, int nStyle);
    PushButton(Window *pParent, int nStyle, int nType);
};
