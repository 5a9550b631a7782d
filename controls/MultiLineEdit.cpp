#include "controls/MultiLineEdit.h"

#include <windows.h>

MultiLineEdit::MultiLineEdit(Window *pParent, int nStyle) : Edit(pParent, nStyle, EDIT_KIND_MULTILINE) {}

bool MultiLineEdit::KeyInput(KeyEvent const &)
{
    return false;
}

void MultiLineEdit::SetTabStops(int nWidth)
{
    if (HWND h = GetHWND())
        ::SendMessageA(h, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&nWidth));
}
