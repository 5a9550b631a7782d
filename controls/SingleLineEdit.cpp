#include "controls/SingleLineEdit.h"

#include "window/KeyEvent.h"

SingleLineEdit::SingleLineEdit(Window *pParent, int nStyle) : Edit(pParent, nStyle, EDIT_KIND_SINGLELINE) {}

bool SingleLineEdit::KeyInput(KeyEvent const &rEvt)
{
    switch (rEvt.GetKeyCode().GetCode()) {
    case KEY_RETURN: aEnterHdl.Call(this); return true;
    case KEY_TAB: aTabHdl.Call(this); return true;
    default: return false;
    }
}
