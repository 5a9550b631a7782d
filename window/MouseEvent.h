#pragma once
#include "frame/Kestrel5Api.h"
#include "graphics/Point.h"

class Window;

constexpr unsigned short MOUSE_LEFT = 0x0001;
constexpr unsigned short MOUSE_MIDDLE = 0x0002;
constexpr unsigned short MOUSE_RIGHT = 0x0004;

// One mouse message as a window receives it. Each window reuses one object
// for all its mouse messages.
class KSAPI MouseEvent
{
public:
    explicit MouseEvent(Window *pWin) : nClicks(0), nCode(0), nButtonsUp(0), nWheelDelta(0), pWindow(pWin) {}
    MouseEvent(Window *pWin, Point const &pos)
        : aPos(pos), nClicks(0), nCode(0), nButtonsUp(0), nWheelDelta(0), pWindow(pWin)
    {
    }
    MouseEvent(MouseEvent const &) = default;
    MouseEvent &operator=(MouseEvent const &) = default;

    Point const &GetPosPixel() const { return aPos; }
    // The position in screen coordinates, through the window.
    Point GetScreenPosPixel() const;
    unsigned short GetClicks() const { return nClicks; }
    unsigned short GetButtons() const { return nCode & 0x0007; }
    unsigned short GetButtonsAndKeys() const { return nCode; }
    void SetButtonsAndKeys(unsigned short n) { nCode = n; }
    unsigned short GetModifier() const { return nCode & 0x7000; }
    bool IsLeft() const { return (nCode & MOUSE_LEFT) != 0; }
    bool IsMiddle() const { return (nCode & MOUSE_MIDDLE) != 0; }
    bool IsRight() const { return (nCode & MOUSE_RIGHT) != 0; }
    bool IsLeftUp() const { return (nButtonsUp & MOUSE_LEFT) != 0; }
    bool IsMiddleUp() const { return (nButtonsUp & MOUSE_MIDDLE) != 0; }
    bool IsRightUp() const { return (nButtonsUp & MOUSE_RIGHT) != 0; }
    bool IsShift() const { return (nCode & 0x1000) != 0; }
    bool IsMod1() const { return (nCode & 0x2000) != 0; }
    bool IsMod2() const { return (nCode & 0x4000) != 0; }
    int GetWheelDelta() const { return nWheelDelta; }
    void SetWheelDelta(int d) { nWheelDelta = d; }
    Window *GetPClickWin() const { return pWindow; }

private:
    friend class Window; // fills the fields from each routed message

    Point aPos;
    unsigned short nClicks;
    unsigned short nCode;
    unsigned short nButtonsUp;
    int nWheelDelta;
    Window *pWindow;
};
