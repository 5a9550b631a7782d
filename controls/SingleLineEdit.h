#pragma once
#include "controls/Edit.h"

// A one-line field: Return (with any modifiers) calls the enter link and Tab
// the tab link; every other key goes to the platform control.
class KSAPI SingleLineEdit : public Edit
{
public:
    SingleLineEdit(Window *pParent, int nStyle);
    bool KeyInput(KeyEvent const &rEvt) override;
};
