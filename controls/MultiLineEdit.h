#pragma once
#include "controls/Edit.h"

// A field of several lines: Return breaks the line, and every key goes to
// the platform control.
class KSAPI MultiLineEdit : public Edit
{
public:
    MultiLineEdit(Window *pParent, int nStyle);
    bool KeyInput(KeyEvent const &rEvt) override;
    // One tab stop every nWidth dialog units.
    void SetTabStops(int nWidth);
};
