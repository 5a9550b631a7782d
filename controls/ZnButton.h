#pragma once
#include "bcg/CBCGPButton.h"

class Button;

// The window object of a Button, with the way back to it.
class KSAPI ZnButton : public CBCGPButton
{
public:
    explicit ZnButton(Button *pButton) : m_pButton(pButton) {}
    Button *GetButton() const { return m_pButton; }
    bool OnChildDrawItem(DRAWITEMSTRUCT *lpDrawItemStruct) override;

private:
    Button *m_pButton;
};
