#include "controls/Edit.h"

#include "controls/ZnEdit.h"
#include "frame/KSGlobal.h"
#include "frame/WinMsgRouter.h"
#include "graphics/Texture.h"
#include "text/UString.h"
#include "window/KeyEvent.h"

#include <windows.h>
#include <commctrl.h>

Edit::Edit(Window *pParent, int nStyle, int nKindArg) : pEdit(nullptr), nKind(nKindArg)
{
    CreateEdit(pParent, nStyle, nKindArg);
}

Edit::~Edit()
{
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->RemoveControl(this);
    if (HWND h = GetHWND())
        DestroyWindow(h);
}

unsigned long Edit::EditStyles(int nStyle, int nKindArg)
{
    unsigned long style = 0x50000000 | TranslateControlStyles(nStyle); // WS_CHILD | WS_VISIBLE
    if (nStyle & EDIT_READONLY)
        style |= ES_READONLY;
    if (nStyle & EDIT_RIGHT)
        style |= ES_RIGHT;
    if (nStyle & EDIT_AUTOHSCROLL)
        style |= ES_AUTOHSCROLL;
    if (nStyle & EDIT_VSCROLL)
        style |= WS_VSCROLL | ES_AUTOVSCROLL;
    if (nKindArg == EDIT_KIND_NUMBER)
        style |= ES_NUMBER;
    if (nKindArg == EDIT_KIND_MULTILINE)
        style |= ES_WANTRETURN | ES_MULTILINE;
    return style;
}

void Edit::CreateEdit(Window *pParent, int nStyle, int nKindArg)
{
    ImpSetParent(pParent);
    int const id = pParent ? GetControlIdCnt() : 0;
    InitWindowBeforeCreate();
    pEdit = new ZnEdit(this);
    RECT const rect{20, 100, 200, 120};
    pEdit->Create(EditStyles(nStyle, nKindArg), rect, pParent ? pParent->GetPCWnd() : nullptr,
                  static_cast<unsigned int>(id));
    InitWindowAfterCreate(pEdit, true);
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->AddControl(this);
}

CEdit *Edit::GetPCEdit() const
{
    return pEdit;
}

void Edit::Modify()
{
    if (aModifyHdl.IsSet())
        aModifyHdl.Call(this);
}

void Edit::OnSetFocus()
{
    if (aSetFocusHdl.IsSet())
        aSetFocusHdl.Call(this);
}

void Edit::OnKillFocus()
{
    if (aKillFocusHdl.IsSet())
        aKillFocusHdl.Call(this);
}

SString Edit::GetText() const
{
    return Window::GetText();
}

void Edit::SetText(SString const &rText)
{
    Window::SetText(rText);
}

void Edit::ChangeFont(Font const &rFont)
{
    Window::ChangeFont(rFont);
    aFont = rFont;
    if (HWND h = GetHWND())
        ::SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(aFont.GethFont()), TRUE);
}

void Edit::ChangeBackgroundTexture(Texture const &rTexture)
{
    Window::ChangeBackgroundTexture(rTexture);
    if (pEdit)
        pEdit->SetBackColor(rTexture.GetColor(this).GetLong());
}

bool Edit::ProcessCommandMsg(unsigned long nId)
{
    switch (HIWORD(nId)) {
    case EN_CHANGE: Modify(); return true;
    case EN_SETFOCUS: OnSetFocus(); return true;
    case EN_KILLFOCUS: OnKillFocus(); return true;
    default: return false;
    }
}

void Edit::ChangeMaxTextLen(unsigned int nLen)
{
    if (HWND h = GetHWND())
        ::SendMessageA(h, EM_LIMITTEXT, nLen, 0);
}

void Edit::SetSelection(int nFrom, int nTo)
{
    if (HWND h = GetHWND()) {
        ::SendMessageA(h, EM_SETSEL, WPARAM(nFrom), LPARAM(nTo));
        ::SendMessageA(h, EM_SCROLLCARET, 0, 0);
    }
}

void Edit::SetCueBanner(SString const &rText)
{
    if (HWND h = GetHWND()) {
        UString const wide(rText);
        SendMessageW(h, EM_SETCUEBANNER, 0, reinterpret_cast<LPARAM>(wide.GetStr()));
    }
}
