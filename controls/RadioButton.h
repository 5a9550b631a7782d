#pragma once
#include "controls/Button.h"

class KSAPI RadioButton : public Button
{
public:
    RadioButton(Window *pParent, int nStyle);
};
