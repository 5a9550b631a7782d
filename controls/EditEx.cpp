#include "controls/EditEx.h"

#include "controls/ZnEditEx.h"
#include "frame/KSGlobal.h"
#include "frame/WinMsgRouter.h"
#include "graphics/Texture.h"
#include "window/KeyEvent.h"

#include <windows.h>

EditEx::EditEx(Window *pParent, int nStyle) : pEditCtrl(nullptr)
{
    ImpSetParent(pParent);
    int const id = pParent ? GetControlIdCnt() : 0;
    InitWindowBeforeCreate();
    pEditCtrl = new ZnEditEx;
    unsigned long style = 0x50000000 | TranslateControlStyles(nStyle) | ES_MULTILINE | ES_WANTRETURN;
    if (nStyle & 0x80)
        style |= ES_READONLY;
    if (nStyle & 0x2000)
        style |= WS_VSCROLL | ES_AUTOVSCROLL;
    RECT const rect{20, 100, 200, 120};
    pEditCtrl->Create(style, rect, pParent ? pParent->GetPCWnd() : nullptr, static_cast<unsigned int>(id));
    InitWindowAfterCreate(pEditCtrl, true);
    pEditCtrl->SetModifyHdl(Link(this, &EditEx::ControlChanged));
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->AddControl(this);
}

EditEx::~EditEx()
{
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->RemoveControl(this);
    if (HWND h = GetHWND())
        DestroyWindow(h);
}

__int64 EditEx::ControlChanged(void *)
{
    Modify();
    return 0;
}

void EditEx::Modify()
{
    if (aModifyHdl.IsSet())
        aModifyHdl.Call(this);
}

void EditEx::OnSetFocus()
{
    if (aSetFocusHdl.IsSet())
        aSetFocusHdl.Call(this);
}

void EditEx::OnKillFocus()
{
    if (aKillFocusHdl.IsSet())
        aKillFocusHdl.Call(this);
}

bool EditEx::KeyInput(KeyEvent const &rEvt)
{
    KeyCode const &code = rEvt.GetKeyCode();
    if (code.IsCtrl()) {
        // The clipboard keys do their work; every other Control key is
        // swallowed, so that no editing command of the control runs.
        switch (code.GetCode()) {
        case KEY_A + ('V' - 'A'): pEditCtrl->Paste(-1); break;
        case KEY_A + ('C' - 'A'): pEditCtrl->Copy(); break;
        case KEY_A + ('X' - 'A'): pEditCtrl->Cut(); break;
        default: break;
        }
        return true;
    }
    switch (code.GetCode()) {
    case KEY_RETURN: aEnterHdl.Call(this); return true;
    case KEY_TAB: aTabHdl.Call(this); return true;
    default: return false;
    }
}

SString EditEx::GetText() const
{
    return Window::GetText();
}

void EditEx::SetText(SString const &rText)
{
    Window::SetText(rText);
    if (pEditCtrl)
        pEditCtrl->RecolourWords();
}

void EditEx::ChangeFont(Font const &rFont)
{
    Window::ChangeFont(rFont);
    aFont = rFont;
    if (HWND h = GetHWND())
        ::SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(aFont.GethFont()), TRUE);
    if (pEditCtrl)
        pEditCtrl->RecolourWords(); // the new font took the colours with it
}

void EditEx::ChangeBackgroundTexture(Texture const &rTexture)
{
    Window::ChangeBackgroundTexture(rTexture);
    if (pEditCtrl)
        pEditCtrl->SetBackground(rTexture.GetColor(this).GetLong());
}

bool EditEx::ProcessCommandMsg(unsigned long nId)
{
    switch (HIWORD(nId)) {
    case EN_CHANGE:
        // The control colours the words again and then calls Modify.
        pEditCtrl->NotifyTextChanged();
        return true;
    case EN_SETFOCUS: OnSetFocus(); return true;
    case EN_KILLFOCUS: OnKillFocus(); return true;
    default:
        if (aMenuHdl.IsSet())
            aMenuHdl.Call(&nId);
        return false;
    }
}

void EditEx::ChangeMaxTextLen(unsigned int nLen)
{
    if (HWND h = GetHWND())
        ::SendMessageA(h, EM_LIMITTEXT, nLen, 0);
}

void EditEx::SetSelection(int nFrom, int nTo)
{
    if (HWND h = GetHWND()) {
        ::SendMessageA(h, EM_SETSEL, WPARAM(nFrom), LPARAM(nTo));
        ::SendMessageA(h, EM_SCROLLCARET, 0, 0);
    }
}

void EditEx::SetWords(std::map<SString, SString> words)
{
    if (pEditCtrl)
        pEditCtrl->SetWords(std::move(words));
}

void EditEx::Correct()
{
    if (!pEditCtrl)
        return;
    SString text = GetText();
    for (auto const &[word, correction] : pEditCtrl->GetWords())
        text.ReplaceAllPhrases(word, correction);
    pEditCtrl->ClearWords();
    SetText(text);
    if (HWND h = GetHWND())
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
