#include "controls/UXThemeLib.h"

#include "mfc/CWnd.h"
#include "text/UString.h"

#include <windows.h>
#include <uxtheme.h>

namespace {
// The text-colour property of a theme part.
int const THEME_TEXT_COLOR = 3803;

Color FromColorRef(COLORREF c)
{
    return Color(static_cast<unsigned long>(c));
}
} // namespace

UXThemeLib::UXThemeLib() : LibraryLoader(SString("uxtheme.dll"))
{
}

UXThemeLib::UXThemeLib(SString const &rName) : LibraryLoader(rName)
{
}

// Looked up on every call: the theme library may come and go with the
// user's settings, and a cached address would outlive it.
template <class F> F UXThemeLib::Find(char const *pName) const
{
    return reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(SString(pName))));
}

bool UXThemeLib::IsThemeActive() const
{
    return BOOLFunc(SString("IsThemeActive"));
}

bool UXThemeLib::IsAppThemed() const
{
    return BOOLFunc(SString("IsAppThemed"));
}

void *UXThemeLib::OpenThemeData(HWND hWnd, SString const &rClasses) const
{
    auto f = Find<HTHEME(WINAPI *)(HWND, LPCWSTR)>("OpenThemeData");
    return f ? f(hWnd, UString(rClasses).GetStr()) : nullptr;
}

void UXThemeLib::CloseThemeData(void *pTheme) const
{
    if (auto f = Find<HRESULT(WINAPI *)(HTHEME)>("CloseThemeData"))
        f(static_cast<HTHEME>(pTheme));
}

Color UXThemeLib::GetThemeSysColor(void *pTheme, int nIndex)
{
    auto f = Find<COLORREF(WINAPI *)(HTHEME, int)>("GetThemeSysColor");
    return f ? FromColorRef(f(static_cast<HTHEME>(pTheme), nIndex)) : Color(0ul);
}

Color UXThemeLib::GetThemeSysColor(void *pTheme, int nIndex) const
{
    auto f = Find<COLORREF(WINAPI *)(HTHEME, int)>("GetThemeSysColor");
    return f ? FromColorRef(f(static_cast<HTHEME>(pTheme), nIndex)) : Color(0xFFFFFFul);
}

long UXThemeLib::DrawThemeBackground(void *pTheme, HDC hDC, int nPart, int nState, RECT const *pRect,
                                     RECT const *pClip) const
{
    auto f = Find<HRESULT(WINAPI *)(HTHEME, HDC, int, int, RECT const *, RECT const *)>("DrawThemeBackground");
    return f ? f(static_cast<HTHEME>(pTheme), hDC, nPart, nState, pRect, pClip) : 0;
}

long UXThemeLib::DrawThemeBackgroundEx(void *pTheme, HDC hDC, int nPart, int nState, RECT const *pRect,
                                       _DTBGOPTS const *pOptions) const
{
    auto f = Find<HRESULT(WINAPI *)(HTHEME, HDC, int, int, RECT const *, DTBGOPTS const *)>("DrawThemeBackgroundEx");
    return f ? f(static_cast<HTHEME>(pTheme), hDC, nPart, nState, pRect, pOptions) : 0;
}

long UXThemeLib::DrawThemeEdge(void *pTheme, HDC hDC, int nPart, int nState, RECT const *pRect, unsigned int nEdge,
                               unsigned int nFlags, RECT *pContent) const
{
    auto f = Find<HRESULT(WINAPI *)(HTHEME, HDC, int, int, RECT const *, UINT, UINT, RECT *)>("DrawThemeEdge");
    return f ? f(static_cast<HTHEME>(pTheme), hDC, nPart, nState, pRect, nEdge, nFlags, pContent) : 0;
}

long UXThemeLib::DrawThemeText(void *pTheme, HDC hDC, int nPart, int nState, SString const &rText,
                               unsigned long nFlags, unsigned long nFlags2, RECT const *pRect) const
{
    auto f = Find<HRESULT(WINAPI *)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, RECT const *)>(
        "DrawThemeText");
    if (!f)
        return 0;
    UString const text(rText);
    return f(static_cast<HTHEME>(pTheme), hDC, nPart, nState, text.GetStr(), -1, nFlags, nFlags2, pRect);
}

bool UXThemeLib::IsThemeBackgroundPartiallyTransparent(void *pTheme, int nPart, int nState) const
{
    auto f = Find<BOOL(WINAPI *)(HTHEME, int, int)>("IsThemeBackgroundPartiallyTransparent");
    return f && f(static_cast<HTHEME>(pTheme), nPart, nState);
}

long UXThemeLib::DrawThemeParentBackground(HWND hWnd, HDC hDC, RECT const *pRect) const
{
    auto f = Find<HRESULT(WINAPI *)(HWND, HDC, RECT const *)>("DrawThemeParentBackground");
    return f ? f(hWnd, hDC, pRect) : 0;
}

long UXThemeLib::GetThemeBackgroundContentRect(void *pTheme, HDC hDC, int nPart, int nState, RECT const *pBounds,
                                               RECT *pContent) const
{
    auto f = Find<HRESULT(WINAPI *)(HTHEME, HDC, int, int, RECT const *, RECT *)>("GetThemeBackgroundContentRect");
    return f ? f(static_cast<HTHEME>(pTheme), hDC, nPart, nState, pBounds, pContent) : 0;
}

void UXThemeLib::SetThemeAppProperties(unsigned long nFlags) const
{
    if (auto f = Find<void(WINAPI *)(DWORD)>("SetThemeAppProperties"))
        f(nFlags);
}

bool UXThemeLib::SetWindowTheme(HWND hWnd, SString const &rApp, SString const &rIdList) const
{
    auto f = Find<HRESULT(WINAPI *)(HWND, LPCWSTR, LPCWSTR)>("SetWindowTheme");
    if (!f)
        return false;
    UString const app(rApp), ids(rIdList);
    return f(hWnd, app.GetStr(), ids.GetStr()) == 0;
}

void UXThemeLib::EnableThemeDialogTexture(HWND hWnd, bool bEnable, bool bTab) const
{
    // ETDT_ENABLE 2, ETDT_DISABLE 1, ETDT_USETABTEXTURE 4.
    DWORD const flags = bTab ? (bEnable ? 6 : 5) : (bEnable ? 2 : 1);
    if (auto f = Find<HRESULT(WINAPI *)(HWND, DWORD)>("EnableThemeDialogTexture"))
        f(hWnd, flags);
}

bool UXThemeLib::IsThemeDialogTextureEnabled(HWND hWnd) const
{
    auto f = Find<BOOL(WINAPI *)(HWND)>("IsThemeDialogTextureEnabled");
    return f && f(hWnd);
}

Color UXThemeLib::GetThemeColor(void *pTheme, int nPart, int nState) const
{
    auto f = Find<HRESULT(WINAPI *)(HTHEME, int, int, int, COLORREF *)>("GetThemeColor");
    COLORREF c = 0;
    if (!f || f(static_cast<HTHEME>(pTheme), nPart, nState, THEME_TEXT_COLOR, &c) != 0)
        return Color(0xFFFFFFul);
    return FromColorRef(c);
}

SString UXThemeLib::GetCurrentThemeName() const
{
    auto f = Find<HRESULT(WINAPI *)(LPWSTR, int, LPWSTR, int, LPWSTR, int)>("GetCurrentThemeName");
    if (!f)
        return SString("?");
    wchar_t file[255] = {}, colour[255] = {}, size[255] = {};
    f(file, 255, colour, 255, size, 255);
    file[254] = L'\0';
    UString const name(file);
    return static_cast<SString>(name);
}

void UXThemeLib::DisableThemes(HWND hWnd) const
{
    if (auto f = Find<HRESULT(WINAPI *)(HWND, LPCWSTR, LPCWSTR)>("SetWindowTheme"))
        f(hWnd, nullptr, nullptr);
}

void UXThemeLib::DisableThemes(CWnd *pWnd) const
{
    if (pWnd)
        DisableThemes(pWnd->m_hWnd);
}
