#pragma once
#include "controls/Button.h"

// A two-state box; its state is known inside the click handler.
class KSAPI CheckBox : public Button
{
public:
    CheckBox(Window *pParent, int nStyle);
    void SetCheck(bool bCheck);
    bool GetCheck() const { return bChecked; }
    void MouseButtonDown(MouseEvent const &rEvt) override;
    void MouseButtonUp(MouseEvent const &rEvt) override;

private:
    bool bChecked;
};
