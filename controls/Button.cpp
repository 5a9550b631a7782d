#include "controls/Button.h"
#include "controls/ZnButton.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "frame/Timer.h"
#include "frame/WinMsgRouter.h"
#include "graphics/Font.h"
#include "mfc/CFont.h"
#include "window/KeyEvent.h"

#include <windows.h>

namespace {
unsigned long const kFirstHoldMs = 400;
unsigned long const kRepeatHoldMs = 200;

// The platform's message font at the given size in tenths of a point, or
// "MS Sans Serif" at the fallback size when the metrics cannot be read.
CFont *MessageFont(int tenths, int fallbackTenths)
{
    auto *font = new CFont;
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        font->CreatePointFont(tenths, ncm.lfMessageFont.lfFaceName);
    else
        font->CreatePointFont(fallbackTenths, "MS Sans Serif");
    return font;
}
} // namespace

Button::Button()
    : bPressed(false), bHeld(false), pButton(nullptr), pFont(nullptr), hFocusBack(nullptr), pHoldTimer(nullptr),
      bAllowClick(true)
{
}

Button::Button(Window *pParent, int nStyle) : Button()
{
    InitButton(pParent, nStyle, 32, pParent ? GetControlIdCnt() : 0);
}

Button::~Button()
{
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->RemoveControl(this);
    delete pHoldTimer;
    pHoldTimer = nullptr;
    // The platform control goes with the Window part; its font after it.
    CFont *font = pFont;
    pFont = nullptr;
    if (HWND h = GetHWND())
        DestroyWindow(h);
    delete font;
}

void Button::InitButton(Window *pParent, int nStyle, int nType, int nId)
{
    bPressed = bHeld = false;
    bAllowClick = true;
    delete pHoldTimer;
    pHoldTimer = nullptr;
    hFocusBack = nullptr;
    ImpSetParent(pParent);
    InitWindowBeforeCreate();
    CreateButton(pParent ? pParent->GetPCWnd() : nullptr, nStyle, nType, nId);
    InitWindowAfterCreate(pButton, true);
    ImpSetWinImpType(nType);
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->AddControl(this);
}

void Button::CreateButton(CWnd *pParent, int nStyle, int nType, int nId)
{
    unsigned long style = TranslateControlStyles(nStyle);
    KSData *data = GetPKSData();
    bool const visualStyles = data && data->HasVisualStyles();
    switch (nType) {
    case 1024: style |= BS_GROUPBOX; break;
    case 256: style |= BS_AUTOCHECKBOX; break;
    case 512: style |= BS_AUTORADIOBUTTON; break;
    case 0x40000: style |= 0x008B; break;
    case 0x80000: style |= BS_OWNERDRAW; break;
    case 32:
        if (nStyle & 0x100)
            style |= BS_DEFPUSHBUTTON;
        break;
    case 16384: style |= BS_BITMAP; break;
    default: break;
    }
    // Without visual styles the library paints push buttons itself.
    if ((nType == 32 || nType == 16384) && !visualStyles)
        style |= BS_OWNERDRAW;
    style |= WS_CHILD;
    int const w = data ? data->ScaleX(70) : 70;
    int const h = data ? data->ScaleY(20) : 20;
    RECT const rect{0, 0, w, h};
    pButton = new ZnButton(this);
    pButton->Create("", style, rect, pParent, static_cast<unsigned int>(nId));
    pFont = MessageFont(80, 65);
    if (pButton->m_hWnd)
        SendMessageA(pButton->m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(pFont->m_hObject), TRUE);
    // The device draws in the same font (borrowed: the button owns it).
    ChangeFont(Font(pFont));
}

CButton *Button::GetPCButton() const
{
    return pButton;
}

void Button::Click()
{
    if (bAllowClick)
        aClickHdl.Call(this);
}

void Button::Hold()
{
    if (bAllowClick)
        aHoldHdl.Call(this);
}

void Button::Check(bool bCheck)
{
    if (HWND h = GetHWND())
        SendMessageA(h, BM_SETCHECK, bCheck ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Button::IsChecked() const
{
    HWND h = GetHWND();
    return h && SendMessageA(h, BM_GETCHECK, 0, 0) != 0;
}

void Button::MouseButtonDown(MouseEvent const &)
{
    bPressed = true;
    delete pHoldTimer;
    pHoldTimer = new Timer;
    pHoldTimer->Start(Link(this, &Button::HoldTimeout), kFirstHoldMs);
}

__int64 Button::HoldTimeout(void *)
{
    if (!aHoldHdl.IsSet())
        return 0; // a one-shot timer: it simply ends
    bHeld = true;
    Hold();
    if (pHoldTimer)
        pHoldTimer->Start(kRepeatHoldMs);
    return 0;
}

void Button::MouseButtonUp(MouseEvent const &)
{
    delete pHoldTimer;
    pHoldTimer = nullptr;
    if (!bHeld && bPressed)
        Click();
    ImpEndPress();
}

bool Button::KeyInput(KeyEvent const &rEvt)
{
    KeyCode const &code = rEvt.GetKeyCode();
    int const type = GetWinImpType();
    bool const push = type == 32 || type == 16384 || type == 0x40000 || type == 0x80000;
    if (!code.IsPure() || (code.GetCode() != KEY_SPACE && (!push || code.GetCode() != KEY_RETURN)))
        return false;
    HWND h = GetHWND();
    // The focus came here by the keyboard and stays: a mouse press gives it
    // back to where it came from.
    hFocusBack = nullptr;
    if (h && IsWindowEnabled(h))
        SendMessageA(h, BM_CLICK, 0, 0);
    return true;
}

void Button::ImpEndPress()
{
    delete pHoldTimer;
    pHoldTimer = nullptr;
    if (hFocusBack)
        if (WinMsgRouter *router = GlGetPWinMsgRouter())
            router->m_hNextFocus = hFocusBack;
    bPressed = bHeld = false;
    hFocusBack = nullptr;
}

bool Button::OwnPaintingAllowed() const
{
    return false;
}

bool Button::ProcessFocusMsg(unsigned int nMsg, unsigned __int64 wParam, __int64)
{
    if (nMsg != WM_SETFOCUS)
        return false;
    HWND previous = reinterpret_cast<HWND>(wParam);
    if (previous && previous != GetHWND())
        hFocusBack = previous;
    return true;
}

Button::Face Button::DrawPushFrame(DRAWITEMSTRUCT const *pDIS)
{
    Face f{pDIS->hDC, pDIS->rcItem, (pDIS->itemState & ODS_SELECTED) != 0, (pDIS->itemState & ODS_DISABLED) != 0};
    DrawFrameControl(f.hDC, &f.aRect, DFC_BUTTON, DFCS_BUTTONPUSH | (f.bPushed ? DFCS_PUSHED : 0));
    return f;
}

void Button::DrawButtonFace(DRAWITEMSTRUCT *pDIS)
{
    if (!pDIS)
        return;
    Face const face = DrawPushFrame(pDIS);
    HDC dc = face.hDC;
    RECT r = face.aRect;
    bool const pushed = face.bPushed;
    char text[256];
    int n = GetWindowTextA(pDIS->hwndItem, text, sizeof text);
    if (n > 0) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(face.bDisabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        if (pushed)
            OffsetRect(&r, 1, 1);
        HGDIOBJ old = pFont ? SelectObject(dc, pFont->m_hObject) : nullptr;
        ::DrawTextA(dc, text, n, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (old)
            SelectObject(dc, old);
    }
    if (pDIS->itemState & ODS_FOCUS) {
        RECT f = pDIS->rcItem;
        InflateRect(&f, -3, -3);
        DrawFocusRect(dc, &f);
    }
}
