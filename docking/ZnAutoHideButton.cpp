#include "docking/ZnAutoHideButton.h"

#include <windows.h>

#include <algorithm>

#include "docking/ZnAutoHideBar.h"
#include "docking/ZnDockablePane.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "text/SString.h"

IMPLEMENT_DYNCREATE(ZnAutoHideButton, CObject)

namespace {

int Scaled(int v)
{
    KSData const *data = GetPKSData();
    return data ? data->ScaleY(v) : v;
}

// The caption font of the buttons, turned a quarter clockwise for the bars
// of the left and right edges.
class ButtonFont
{
public:
    explicit ButtonFont(bool bVertical)
    {
        LOGFONTA lf{};
        lf.lfHeight = -Scaled(12);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfEscapement = lf.lfOrientation = bVertical ? 2700 : 0;
        lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
        m_hFont = ::CreateFontIndirectA(&lf);
    }
    ~ButtonFont()
    {
        if (m_hFont)
            ::DeleteObject(m_hFont);
    }
    ButtonFont(ButtonFont const &) = delete;
    ButtonFont &operator=(ButtonFont const &) = delete;
    HFONT Get() const { return m_hFont; }

private:
    HFONT m_hFont;
};

class SelectIn
{
public:
    SelectIn(HDC dc, HGDIOBJ obj) : m_hDC(dc), m_hOld(dc && obj ? ::SelectObject(dc, obj) : nullptr) {}
    ~SelectIn()
    {
        if (m_hOld)
            ::SelectObject(m_hDC, m_hOld);
    }
    SelectIn(SelectIn const &) = delete;
    SelectIn &operator=(SelectIn const &) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

class ScreenDC
{
public:
    ScreenDC() : m_hDC(::CreateCompatibleDC(nullptr)) {}
    ~ScreenDC()
    {
        if (m_hDC)
            ::DeleteDC(m_hDC);
    }
    ScreenDC(ScreenDC const &) = delete;
    ScreenDC &operator=(ScreenDC const &) = delete;
    HDC Get() const { return m_hDC; }

private:
    HDC m_hDC;
};

void FillRectColor(HDC dc, CRect const &r, COLORREF c)
{
    COLORREF const old = ::SetBkColor(dc, c);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

COLORREF Mix(COLORREF a, COLORREF b, int percentB)
{
    auto m = [percentB](int x, int y) { return (x * (100 - percentB) + y * percentB) / 100; };
    return RGB(m(GetRValue(a), GetRValue(b)), m(GetGValue(a), GetGValue(b)), m(GetBValue(a), GetBValue(b)));
}

} // namespace

bool ZnAutoHideButton::Create(ZnAutoHideBar *pParentBar, ZnDockablePane *pAutoHideWnd, unsigned long dwAlignment)
{
    if (!pParentBar || !pAutoHideWnd)
        return false;
    m_pParentBar = pParentBar;
    m_pAutoHideWindow = pAutoHideWnd;
    m_dwAlignment = dwAlignment & 0xF000;
    return true;
}

bool ZnAutoHideButton::IsActive() const
{
    return m_pAutoHideWindow && m_pAutoHideWindow->IsSlidOut();
}

bool ZnAutoHideButton::IsVisible() const
{
    return m_pAutoHideWindow && m_pAutoHideWindow->IsPaneVisible();
}

CSize ZnAutoHideButton::GetSize(HDC hDC) const
{
    int const depth = ZnAutoHideBar::GetBarThickness() - Scaled(4);
    int const pad = Scaled(8);
    SString const text = m_pAutoHideWindow ? m_pAutoHideWindow->GetWindowText() : SString();
    int textLen = 0;
    if (text.Len()) {
        // Measured unrotated: the length of the text is the same either way.
        ScreenDC own;
        HDC const dc = hDC ? hDC : own.Get();
        ButtonFont font(false);
        SelectIn sel(dc, font.Get());
        SIZE sz{};
        if (dc && ::GetTextExtentPoint32A(dc, text.GetStr(), int(text.Len()), &sz))
            textLen = sz.cx;
        else
            textLen = int(text.Len()) * Scaled(7);
    }
    int const len = std::max(Scaled(40), textLen + 2 * pad);
    return IsHorizontal() ? CSize(len, depth) : CSize(depth, len);
}

void ZnAutoHideButton::OnDraw(HDC hDC) const
{
    if (!hDC || m_rect.IsRectEmpty())
        return;
    COLORREF const face = ::GetSysColor(COLOR_BTNFACE), text = ::GetSysColor(COLOR_BTNTEXT);
    COLORREF const back = IsActive() ? Mix(face, text, 18) : m_bHighlighted ? Mix(face, RGB(255, 255, 255), 60) : face;
    FillRectColor(hDC, m_rect, back);
    // A line along the edge of the site, where the pane slides out from.
    COLORREF const accent = IsActive() || m_bHighlighted ? ::GetSysColor(COLOR_HIGHLIGHT) : Mix(face, text, 45);
    int const t = std::max(1, Scaled(2));
    CRect mark = m_rect;
    switch (m_dwAlignment) {
    case 0x1000: mark.right = mark.left + t; break;
    case 0x4000: mark.left = mark.right - t; break;
    case 0x2000: mark.bottom = mark.top + t; break;
    default: mark.top = mark.bottom - t; break;
    }
    FillRectColor(hDC, mark, accent);
    // A frame of the text colour, faint.
    CRect f = m_rect;
    COLORREF const frame = Mix(face, text, 30);
    FillRectColor(hDC, CRect(f.left, f.top, f.right, f.top + 1), frame);
    FillRectColor(hDC, CRect(f.left, f.bottom - 1, f.right, f.bottom), frame);
    FillRectColor(hDC, CRect(f.left, f.top, f.left + 1, f.bottom), frame);
    FillRectColor(hDC, CRect(f.right - 1, f.top, f.right, f.bottom), frame);

    SString const s = m_pAutoHideWindow ? m_pAutoHideWindow->GetWindowText() : SString();
    if (!s.Len())
        return;
    bool const vertical = !IsHorizontal();
    ButtonFont font(vertical);
    SelectIn sel(hDC, font.Get());
    int const oldMode = ::SetBkMode(hDC, TRANSPARENT);
    COLORREF const oldColor = ::SetTextColor(hDC, text);
    TEXTMETRICA tm{};
    ::GetTextMetricsA(hDC, &tm);
    int const pad = Scaled(8);
    int const saved = ::SaveDC(hDC);
    ::IntersectClipRect(hDC, m_rect.left + 1, m_rect.top + 1, m_rect.right - 1, m_rect.bottom - 1);
    if (vertical) {
        // Turned clockwise: the text runs down and its top faces right.
        int const x = m_rect.left + (m_rect.Width() + tm.tmHeight) / 2;
        ::TextOutA(hDC, x, m_rect.top + pad, s.GetStr(), int(s.Len()));
    } else {
        int const y = m_rect.top + (m_rect.Height() - tm.tmHeight) / 2;
        ::TextOutA(hDC, m_rect.left + pad, y, s.GetStr(), int(s.Len()));
    }
    ::RestoreDC(hDC, saved);
    ::SetTextColor(hDC, oldColor);
    ::SetBkMode(hDC, oldMode);
}
