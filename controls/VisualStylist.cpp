#include "controls/VisualStylist.h"

#include <windows.h>
#include <uxtheme.h>

namespace {
// The four numbers go to the platform as they are.
RECT AsRect(CRectangle const &r)
{
    return RECT{r.Left(), r.Top(), r.Right(), r.Bottom()};
}
} // namespace

VisualStylist::VisualStylist(HWND hWnd) : m_hWnd(hWnd), m_nPart(0), m_nState(0), m_hTheme(nullptr)
{
    Open("Dialog");
}

VisualStylist::VisualStylist(HWND hWnd, SString const &rThemeClass, int nPart, int nState)
    : m_hWnd(hWnd), m_nPart(nPart), m_nState(nState), m_aThemeClass(rThemeClass), m_hTheme(nullptr)
{
    Open(nullptr);
}

VisualStylist::VisualStylist(VisualStylist const &rOther)
    : m_hWnd(rOther.m_hWnd), m_nPart(rOther.m_nPart), m_nState(rOther.m_nState),
      m_aThemeClass(rOther.m_aThemeClass), m_hTheme(nullptr)
{
    // A theme handle of its own: each stylist closes what it opened.
    if (rOther.IsValid())
        Open(m_aThemeClass.Len() ? nullptr : "Dialog");
}

VisualStylist &VisualStylist::operator=(VisualStylist const &rOther)
{
    if (this != &rOther) {
        Close();
        m_hWnd = rOther.m_hWnd;
        m_nPart = rOther.m_nPart;
        m_nState = rOther.m_nState;
        m_aThemeClass = rOther.m_aThemeClass;
        if (rOther.IsValid())
            Open(m_aThemeClass.Len() ? nullptr : "Dialog");
    }
    return *this;
}

VisualStylist::~VisualStylist()
{
    Close();
}

void VisualStylist::Open(char const *pOpenAs)
{
    m_pLib = std::make_unique<UXThemeLib>();
    m_hTheme = m_pLib->OpenThemeData(m_hWnd, pOpenAs ? SString(pOpenAs) : m_aThemeClass);
    if (!m_hTheme)
        m_pLib.reset();
}

void VisualStylist::Close()
{
    if (m_pLib && m_hTheme)
        m_pLib->CloseThemeData(m_hTheme);
    m_hTheme = nullptr;
    m_pLib.reset();
}

void VisualStylist::PrepareBackground(HDC hDC, RECT const &rRect) const
{
    if (m_pLib->IsThemeBackgroundPartiallyTransparent(m_hTheme, m_nPart, m_nState))
        m_pLib->DrawThemeParentBackground(m_hWnd, hDC, &rRect);
}

void VisualStylist::DrawBackground(HDC hDC, CRectangle const &rRect) const
{
    if (!IsValid())
        return;
    RECT const r = AsRect(rRect);
    PrepareBackground(hDC, r);
    m_pLib->DrawThemeBackground(m_hTheme, hDC, m_nPart, m_nState, &r, nullptr);
}

void VisualStylist::DrawBackgroundEx(HDC hDC, CRectangle const &rRect, _DTBGOPTS const *pOptions) const
{
    if (!IsValid())
        return;
    RECT const r = AsRect(rRect);
    PrepareBackground(hDC, r);
    m_pLib->DrawThemeBackgroundEx(m_hTheme, hDC, m_nPart, m_nState, &r, pOptions);
}

void VisualStylist::DrawBackgroundSolid(HDC hDC, CRectangle const &rRect) const
{
    DTBGOPTS options{sizeof options, DTBG_DRAWSOLID, {}};
    DrawBackgroundEx(hDC, rRect, &options);
}

void VisualStylist::DrawClipped(HDC hDC, CRectangle const &rRect, CRectangle const &rClip) const
{
    DTBGOPTS options{sizeof options, DTBG_CLIPRECT | DTBG_DRAWSOLID | DTBG_OMITBORDER, AsRect(rClip)};
    DrawBackgroundEx(hDC, rRect, &options);
}

void VisualStylist::DrawEdgeOnly(HDC hDC, CRectangle const &rRect) const
{
    DTBGOPTS options{sizeof options, DTBG_OMITCONTENT, {}};
    DrawBackgroundEx(hDC, rRect, &options);
}

void VisualStylist::DrawWithoutEdge(HDC hDC, CRectangle const &rRect) const
{
    DTBGOPTS options{sizeof options, DTBG_OMITBORDER, {}};
    DrawBackgroundEx(hDC, rRect, &options);
}

Color VisualStylist::GetBackgroundColor()
{
    return IsValid() ? m_pLib->GetThemeColor(m_hTheme, m_nPart, m_nState) : Color(ColorNameLightMagenta);
}

Color VisualStylist::GetThemeSysColor(int nIndex) const
{
    return IsValid() ? m_pLib->GetThemeSysColor(m_hTheme, nIndex) : Color(ColorNameLightMagenta);
}

void VisualStylist::DrawThemeEdge(HDC hDC, CRectangle const &rRect, unsigned int nEdge, unsigned int nFlags)
{
    if (!IsValid())
        return;
    RECT const r = AsRect(rRect);
    PrepareBackground(hDC, r);
    m_pLib->DrawThemeEdge(m_hTheme, hDC, m_nPart, m_nState, &r, nEdge, nFlags, nullptr);
}

void VisualStylist::DrawThemeText(HDC hDC, SString const &rText, unsigned long nFlags, CRectangle const &rRect) const
{
    if (!IsValid())
        return;
    RECT const r = AsRect(rRect);
    PrepareBackground(hDC, r);
    m_pLib->DrawThemeText(m_hTheme, hDC, m_nPart, m_nState, rText, nFlags, 0, &r);
}

void VisualStylist::DrawThemeParentBackground(HWND hWnd, HDC hDC, CRectangle const &rRect) const
{
    if (!IsValid())
        return;
    RECT const r = AsRect(rRect);
    m_pLib->DrawThemeParentBackground(hWnd, hDC, &r);
}

bool VisualStylist::GetThemeBackgroundContentRect(HDC hDC, RECT const *pBounds, RECT *pContent) const
{
    return IsValid() &&
           HandleError(m_pLib->GetThemeBackgroundContentRect(m_hTheme, hDC, m_nPart, m_nState, pBounds, pContent));
}

bool VisualStylist::IsThemeBackgroundPartiallyTransparent() const
{
    return IsValid() && m_pLib->IsThemeBackgroundPartiallyTransparent(m_hTheme, m_nPart, m_nState);
}

void VisualStylist::EnableThemeDialogTexture(bool bEnable) const
{
    if (IsValid())
        m_pLib->EnableThemeDialogTexture(m_hWnd, bEnable, false);
}
