#pragma once
#include "frame/Kestrel5Api.h"
#include "frame/LibraryLoader.h"
#include "graphics/Color.h"
#include "text/SString.h"

#include <windef.h>

class CWnd;
struct _DTBGOPTS;

// The platform's theme library, bound at run time: every member looks its
// function up when it is called and, where the library or the function is
// missing, answers a neutral default without calling anything. So the
// library runs, undecorated, where there are no visual styles.
class KSAPI UXThemeLib : public LibraryLoader
{
public:
    UXThemeLib();

    bool IsThemeActive() const;
    bool IsAppThemed() const;
    void *OpenThemeData(HWND hWnd, SString const &rClasses) const;
    void CloseThemeData(void *pTheme) const;
    // Black without the function; the const form white.
    Color GetThemeSysColor(void *pTheme, int nIndex);
    Color GetThemeSysColor(void *pTheme, int nIndex) const;
    long DrawThemeBackground(void *pTheme, HDC hDC, int nPart, int nState, RECT const *pRect,
                             RECT const *pClip) const;
    long DrawThemeBackgroundEx(void *pTheme, HDC hDC, int nPart, int nState, RECT const *pRect,
                               _DTBGOPTS const *pOptions) const;
    long DrawThemeEdge(void *pTheme, HDC hDC, int nPart, int nState, RECT const *pRect, unsigned int nEdge,
                       unsigned int nFlags, RECT *pContent) const;
    long DrawThemeText(void *pTheme, HDC hDC, int nPart, int nState, SString const &rText, unsigned long nFlags,
                       unsigned long nFlags2, RECT const *pRect) const;
    bool IsThemeBackgroundPartiallyTransparent(void *pTheme, int nPart, int nState) const;
    long DrawThemeParentBackground(HWND hWnd, HDC hDC, RECT const *pRect) const;
    long GetThemeBackgroundContentRect(void *pTheme, HDC hDC, int nPart, int nState, RECT const *pBounds,
                                       RECT *pContent) const;
    void SetThemeAppProperties(unsigned long nFlags) const;
    // True when the platform answered success.
    bool SetWindowTheme(HWND hWnd, SString const &rApp, SString const &rIdList) const;
    void EnableThemeDialogTexture(HWND hWnd, bool bEnable, bool bTab) const;
    bool IsThemeDialogTextureEnabled(HWND hWnd) const;
    // The text colour of the part and state; white when that fails.
    Color GetThemeColor(void *pTheme, int nPart, int nState) const;
    // The theme's file name, or "?".
    SString GetCurrentThemeName() const;
    // Plain, undecorated drawing for the window.
    void DisableThemes(HWND hWnd) const;
    void DisableThemes(CWnd *pWnd) const;

protected:
    // Another library in the theme library's place: what the defaults are
    // for, where the theme library itself is always there.
    explicit UXThemeLib(SString const &rName);

private:
    template <class F> F Find(char const *pName) const;
};
