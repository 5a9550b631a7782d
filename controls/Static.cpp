#include "controls/Static.h"
#include "controls/ZnStatic.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "frame/WinMsgRouter.h"
#include "graphics/Font.h"
#include "mfc/CFont.h"

#include <windows.h>

Static::Static() : pStatic(nullptr), pFont(nullptr)
{
}

Static::Static(Window *pParent, int nStyle) : Static()
{
    InitStatic(pParent, pParent ? pParent->GetPCWnd() : nullptr, nStyle, pParent ? GetControlIdCnt() : 0);
}

Static::~Static()
{
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->RemoveControl(this);
    CFont *font = pFont;
    pFont = nullptr;
    if (HWND h = GetHWND())
        DestroyWindow(h);
    delete font;
}

void Static::InitStatic(Window *pParent, CWnd *pParentWnd, int nStyle, int nId)
{
    ImpSetParent(pParent);
    InitWindowBeforeCreate();
    CreateStatic(pParentWnd, nStyle, nId);
    InitWindowAfterCreate(pStatic, true);
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->AddControl(this);
}

void Static::CreateStatic(CWnd *pParent, int nStyle, int nId)
{
    unsigned long const style = TranslateControlStyles(nStyle) | 0x4000000D; // WS_CHILD | SS_OWNERDRAW
    KSData *data = GetPKSData();
    RECT const rect{0, 0, data ? data->ScaleX(70) : 70, data ? data->ScaleY(20) : 20};
    pStatic = new ZnStatic(this);
    pStatic->Create("", style, rect, pParent, static_cast<unsigned int>(nId));
    pFont = new CFont;
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        pFont->CreatePointFont(85, ncm.lfMessageFont.lfFaceName);
    else
        pFont->CreatePointFont(85, "MS Sans Serif");
    if (pStatic->m_hWnd)
        SendMessageA(pStatic->m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(pFont->m_hObject), TRUE);
    ChangeFont(Font(pFont)); // borrowed: the static owns it
}

CStatic *Static::GetPCStatic() const
{
    return pStatic;
}

HFONT Static::GetHFont() const
{
    return pFont ? static_cast<HFONT>(pFont->m_hObject) : nullptr;
}
