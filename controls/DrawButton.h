#pragma once
#include "controls/PushButton.h"

// The symbol a DrawButton shows.
enum DrawButtonType
{
    DrawButtonCancel = 0,   // a cross
    DrawButtonBack = 1,     // an arrow to the left
    DrawButtonForward = 2,  // an arrow to the right
    DrawButtonLeft = 3,     // a triangle pointing left
    DrawButtonLeftStop = 4, // a triangle pointing left against a bar
    DrawButtonRight = 5,    // a triangle pointing right
    DrawButtonRightStop = 6 // a triangle pointing right against a bar
};

// A push button whose face is a drawn symbol, scaled to the button.
class KSAPI DrawButton : public PushButton
{
public:
    DrawButton(Window *pParent, DrawButtonType eType);
    DrawButtonType GetDrawButtonType() const { return m_eType; }
    void DrawButtonFace(DRAWITEMSTRUCT *pDIS) override;

protected:
    void DrawCancel(HDC hDC, RECT const &r);
    void DrawBack(HDC hDC, RECT const &r);
    void DrawForward(HDC hDC, RECT const &r);
    void DrawLeft(HDC hDC, RECT const &r);
    void DrawLeftStop(HDC hDC, RECT const &r);
    void DrawRight(HDC hDC, RECT const &r);
    void DrawRightStop(HDC hDC, RECT const &r);

private:
    DrawButtonType m_eType;
};
