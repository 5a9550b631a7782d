#pragma once
#include "controls/UXThemeLib.h"
#include "frame/Kestrel5Api.h"
#include "graphics/CRectangle.h"
#include "graphics/Color.h"
#include "text/SString.h"

#include <memory>
#include <windef.h>

struct _DTBGOPTS;

// One theme class, part and state bound to a window: draws themed
// backgrounds, edges and texts for it. Where no theme opens (no visual
// styles, or a class the theme does not know) the stylist is invalid and
// draws nothing, so callers draw their classic look instead.
class KSAPI VisualStylist
{
public:
    // The dialog class, part 0, state 0 (the stored class name stays empty).
    explicit VisualStylist(HWND hWnd);
    VisualStylist(HWND hWnd, SString const &rThemeClass, int nPart, int nState);
    VisualStylist(VisualStylist const &rOther);
    VisualStylist &operator=(VisualStylist const &rOther);
    virtual ~VisualStylist();

    void *GetHTheme() const { return m_hTheme; }
    bool IsValid() const { return m_pLib != nullptr; }

    virtual void DrawBackground(HDC hDC, CRectangle const &rRect) const;
    virtual void DrawBackgroundSolid(HDC hDC, CRectangle const &rRect) const;
    // The text colour of the part and state; magenta when invalid.
    virtual Color GetBackgroundColor();
    virtual void DrawThemeEdge(HDC hDC, CRectangle const &rRect, unsigned int nEdge, unsigned int nFlags);
    virtual void DrawThemeText(HDC hDC, SString const &rText, unsigned long nFlags, CRectangle const &rRect) const;

    void DrawClipped(HDC hDC, CRectangle const &rRect, CRectangle const &rClip) const;
    void DrawEdgeOnly(HDC hDC, CRectangle const &rRect) const;
    void DrawWithoutEdge(HDC hDC, CRectangle const &rRect) const;
    void DrawThemeParentBackground(HWND hWnd, HDC hDC, CRectangle const &rRect) const;
    // Magenta when invalid.
    Color GetThemeSysColor(int nIndex) const;
    bool GetThemeBackgroundContentRect(HDC hDC, RECT const *pBounds, RECT *pContent) const;
    bool IsThemeBackgroundPartiallyTransparent() const;
    void EnableThemeDialogTexture(bool bEnable) const;

protected:
    void DrawBackgroundEx(HDC hDC, CRectangle const &rRect, _DTBGOPTS const *pOptions) const;
    static bool HandleError(long hr) { return hr == 0; }

private:
    void Open(char const *pOpenAs);
    void Close();
    // Partly transparent parts show the parent's background through them.
    void PrepareBackground(HDC hDC, RECT const &rRect) const;

    HWND m_hWnd;
    int m_nPart;
    int m_nState;
    SString m_aThemeClass;
    std::unique_ptr<UXThemeLib> m_pLib;
    void *m_hTheme;
};
