#pragma once
#include "controls/Button.h"

class KSAPI GroupBox : public Button
{
public:
    GroupBox(Window *pParent, int nStyle);
};
