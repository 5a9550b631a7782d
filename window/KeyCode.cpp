#include "window/KeyCode.h"

#include <windows.h>

namespace {

unsigned short const s_aFuncCodes[] = {
    0,      0x220D, 0x220E, 0x2212, 0,      0x220F, 0x2303, 0x4303, 0x2217, 0x2202,
    0x2215, 0x2219, 0,      0x0506, 0,      0x2205, 0x3205, 0x4500, 0,
};

// The layout's own name of a modifier key, from its scan code.
SString ModifierName(unsigned vk, char const *fallback)
{
    char name[64];
    LONG const scan = static_cast<LONG>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
    if (scan && GetKeyNameTextA(scan, name, sizeof name) > 0)
        return SString(name);
    return SString(fallback);
}

SString KeyName(unsigned short code)
{
    char buf[16];
    if (code >= KEY_0 && code <= KEY_0 + 9)
        return SString(static_cast<char>('0' + code - KEY_0));
    if (code >= KEY_A && code <= KEY_A + 25)
        return SString(static_cast<char>('A' + code - KEY_A));
    if (code >= KEY_F1 && code <= KEY_F1 + 23) {
        wsprintfA(buf, "F%d", code - KEY_F1 + 1);
        return SString(buf);
    }
    switch (code) {
    case KEY_DOWN: return SString("Down");
    case KEY_UP: return SString("Up");
    case KEY_LEFT: return SString("Left");
    case KEY_RIGHT: return SString("Right");
    case KEY_HOME: return SString("Home");
    case KEY_END: return SString("End");
    case KEY_PAGEUP: return SString("Page Up");
    case KEY_PAGEDOWN: return SString("Page Down");
    case KEY_RETURN: return SString("Enter");
    case KEY_ESCAPE: return SString("Esc");
    case KEY_TAB: return SString("Tab");
    case KEY_BACKSPACE: return SString("Backspace");
    case KEY_SPACE: return SString("Space");
    case KEY_INSERT: return SString("Ins");
    case KEY_DELETE: return SString("Del");
    case KEY_ADD: return SString("+");
    case KEY_SUBTRACT: return SString("-");
    case KEY_MULTIPLY: return SString("*");
    case KEY_DIVIDE: return SString("/");
    case KEY_POINT: return SString(".");
    case KEY_COMMA: return SString(",");
    case KEY_LESS: return SString("<");
    case KEY_GREATER: return SString(">");
    case KEY_EQUAL: return SString("=");
    default:
        if (code >= KEY_OEM_B0 && code <= KEY_OEM_B0 + 3) {
            wsprintfA(buf, "OEM %02X", 0xB0 + code - KEY_OEM_B0);
            return SString(buf);
        }
        return SString();
    }
}

} // namespace

KeyCode::KeyCode(unsigned short nKey, int bShift, int bMod1, int bMod2) : nCode(nKey), eFunction(KEYFUNC_DONTKNOW)
{
    if (bShift)
        nCode |= KEY_SHIFT;
    if (bMod1)
        nCode |= KEY_MOD1;
    if (bMod2)
        nCode |= KEY_MOD2;
}

KeyCode::KeyCode(KeyFuncType eFunc) : nCode(0), eFunction(eFunc)
{
    unsigned idx = static_cast<unsigned>(eFunc);
    if (idx < sizeof s_aFuncCodes / sizeof s_aFuncCodes[0])
        nCode = s_aFuncCodes[idx];
}

int KeyCode::operator==(KeyCode const &o) const
{
    if (eFunction != KEYFUNC_DONTKNOW || o.eFunction != KEYFUNC_DONTKNOW)
        return eFunction == o.eFunction;
    return nCode == o.nCode;
}

SString KeyCode::GetName() const
{
    SString name;
    if (IsShift()) {
        name += ModifierName(VK_SHIFT, "Shift");
        name += "+";
    }
    if (IsMod1()) {
        name += ModifierName(VK_CONTROL, "Ctrl");
        name += "+";
    }
    if (IsMod2()) {
        name += ModifierName(VK_MENU, "Alt");
        name += "+";
    }
    name += KeyName(GetCode());
    return name;
}
