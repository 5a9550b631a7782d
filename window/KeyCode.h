#pragma once
#include "frame/Kestrel5Api.h"
#include "text/SString.h"

// Key groups (code & 0x0F00).
constexpr unsigned short KEYGROUP_NUM = 0x0100;
constexpr unsigned short KEYGROUP_ALPHA = 0x0200;
constexpr unsigned short KEYGROUP_FKEYS = 0x0300;
constexpr unsigned short KEYGROUP_CURSOR = 0x0400;
constexpr unsigned short KEYGROUP_MISC = 0x0500;

// Modifier bits.
constexpr unsigned short KEY_SHIFT = 0x1000;
constexpr unsigned short KEY_MOD1 = 0x2000; // Control
constexpr unsigned short KEY_MOD2 = 0x4000; // Alt
constexpr unsigned short KEY_MODTYPE = 0x7000;
constexpr unsigned short KEY_CODE = 0x0FFF;

// Key codes.
constexpr unsigned short KEY_0 = 0x0100;
constexpr unsigned short KEY_A = 0x0200;
constexpr unsigned short KEY_F1 = 0x0300;
constexpr unsigned short KEY_DOWN = 0x0400;
constexpr unsigned short KEY_UP = 0x0401;
constexpr unsigned short KEY_LEFT = 0x0402;
constexpr unsigned short KEY_RIGHT = 0x0403;
constexpr unsigned short KEY_HOME = 0x0404;
constexpr unsigned short KEY_END = 0x0405;
constexpr unsigned short KEY_PAGEUP = 0x0406;
constexpr unsigned short KEY_PAGEDOWN = 0x0407;
constexpr unsigned short KEY_RETURN = 0x0500;
constexpr unsigned short KEY_ESCAPE = 0x0501;
constexpr unsigned short KEY_TAB = 0x0502;
constexpr unsigned short KEY_BACKSPACE = 0x0503;
constexpr unsigned short KEY_SPACE = 0x0504;
constexpr unsigned short KEY_INSERT = 0x0505;
constexpr unsigned short KEY_DELETE = 0x0506;
constexpr unsigned short KEY_ADD = 0x0507;
constexpr unsigned short KEY_SUBTRACT = 0x0508;
constexpr unsigned short KEY_MULTIPLY = 0x0509;
constexpr unsigned short KEY_DIVIDE = 0x050A;
constexpr unsigned short KEY_POINT = 0x050B;
constexpr unsigned short KEY_COMMA = 0x050C;
constexpr unsigned short KEY_LESS = 0x050D;
constexpr unsigned short KEY_GREATER = 0x050E;
constexpr unsigned short KEY_EQUAL = 0x050F;
constexpr unsigned short KEY_OEM_B0 = 0x0519;

// Standard key functions; each stands for one key combination.
enum KeyFuncType
{
    KEYFUNC_DONTKNOW = 0,
    KEYFUNC_NEW = 1,
    KEYFUNC_OPEN = 2,
    KEYFUNC_SAVE = 3,
    KEYFUNC_SAVEAS = 4,
    KEYFUNC_PRINT = 5,
    KEYFUNC_CLOSE = 6,
    KEYFUNC_QUIT = 7,
    KEYFUNC_CUT = 8,
    KEYFUNC_COPY = 9,
    KEYFUNC_PASTE = 10,
    KEYFUNC_UNDO = 11,
    KEYFUNC_REDO = 12,
    KEYFUNC_DELETE = 13,
    KEYFUNC_REPEAT = 14,
    KEYFUNC_FIND = 15,
    KEYFUNC_FINDBACKWARD = 16,
    KEYFUNC_PROPERTIES = 17,
    KEYFUNC_FRONT = 18
};

// A key with its modifiers, independent of the platform's virtual keys.
class KSAPI KeyCode
{
public:
    KeyCode() : nCode(0), eFunction(KEYFUNC_DONTKNOW) {}
    KeyCode(unsigned short nKey, unsigned short nModifier)
        : nCode(static_cast<unsigned short>(nKey | nModifier)), eFunction(KEYFUNC_DONTKNOW)
    {
    }
    KeyCode(unsigned short nKey, int bShift, int bMod1, int bMod2);
    KeyCode(KeyFuncType eFunc);

    unsigned short GetCode() const { return nCode & KEY_CODE; }
    unsigned short GetModifier() const { return nCode & KEY_MODTYPE; }
    unsigned short GetGroup() const { return nCode & 0x0F00; }
    KeyFuncType GetFunction() const { return eFunction; }
    int IsFunction() const { return eFunction != KEYFUNC_DONTKNOW; }

    bool IsShift() const { return (nCode & KEY_SHIFT) != 0; }
    bool IsMod1() const { return (nCode & KEY_MOD1) != 0; }
    bool IsMod2() const { return (nCode & KEY_MOD2) != 0; }
    bool IsPure() const { return GetModifier() == 0; }
    bool IsShiftOnly() const { return GetModifier() == KEY_SHIFT; }
    bool IsCtrl() const { return GetModifier() == KEY_MOD1; }
    bool IsAlt() const { return GetModifier() == KEY_MOD2; }
    bool IsCtrlShift() const { return GetModifier() == (KEY_MOD1 | KEY_SHIFT); }
    bool IsAltShift() const { return GetModifier() == (KEY_MOD2 | KEY_SHIFT); }
    bool IsCtrlAlt() const { return GetModifier() == (KEY_MOD1 | KEY_MOD2); }
    bool IsCtrlShiftAlt() const { return GetModifier() == KEY_MODTYPE; }

    bool IsNumGroup() const { return GetGroup() == KEYGROUP_NUM; }
    bool IsAlphaGroup() const { return GetGroup() == KEYGROUP_ALPHA; }
    bool IsFunctionGroup() const { return GetGroup() == KEYGROUP_FKEYS; }
    bool IsCursorGroup() const { return GetGroup() == KEYGROUP_CURSOR; }
    bool IsMiscGroup() const { return GetGroup() == KEYGROUP_MISC; }

    // Functions win: when either side names one, the functions are compared.
    int operator==(KeyCode const &o) const;
    int operator!=(KeyCode const &o) const { return !(*this == o); }

    // "Ctrl+Shift+F5" in the names the keyboard layout gives the modifiers.
    SString GetName() const;

protected:
    unsigned short GetFullCode() const { return nCode; }
    KeyFuncType GetFullFunction() const { return eFunction; }

private:
    unsigned short nCode;
    KeyFuncType eFunction;
};
