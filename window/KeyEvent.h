#pragma once
#include "frame/Kestrel5Api.h"
#include "window/KeyCode.h"

// One key stroke as a window receives it: the key, the character it typed
// (0 when none) and the platform's repeat count minus one.
class KSAPI KeyEvent
{
public:
    KeyEvent() : nCharCode(0), nRepeat(0) {}
    KeyEvent(char c, KeyCode const &code, unsigned short nRep) : aKeyCode(code), nCharCode(c), nRepeat(nRep) {}
    KeyEvent(KeyEvent const &) = default;
    KeyEvent(KeyEvent &&) = default;
    KeyEvent &operator=(KeyEvent const &) = default;
    KeyEvent &operator=(KeyEvent &&) = default;

    KeyCode const &GetKeyCode() const { return aKeyCode; }
    char GetCharCode() const { return nCharCode; }
    unsigned short GetRepeat() const { return nRepeat; }

private:
    KeyCode aKeyCode;
    char nCharCode;
    unsigned short nRepeat;
};
