#include "docking/ZnVisualManager.h"

#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "graphics/CRectangle.h"
#include "graphics/Color.h"
#include "graphics/OutputDevice.h"
#include "mfc/AfxWin.h"
#include "text/SString.h"
#include "text/UString.h"

#include <algorithm>
#include <iterator>
#include <vector>
#include <windows.h>

namespace {

// A plain pointer outside the class: a static data member of an exported
// class cannot be reached from programs that use it through the import side.
ZnVisualManager *g_pVisualManager = nullptr;

// Design values at 96 dots per inch (see the header's layout sketch).
constexpr int CAPTION_HEIGHT = 20;
constexpr int CAPTION_FONT_EM = 12;
constexpr int BUTTON_EDGE = 14;
constexpr int BUTTON_GAP = 1;
constexpr int TEXT_PAD_LEFT = 4;
constexpr int TEXT_GAP_RIGHT = 2;
constexpr int PANE_BORDER = 1;
constexpr int LINE = 1;

unsigned const STANDARD_BUTTONS[] = {ZnVisualManager::CaptionHitClose, ZnVisualManager::CaptionHitMenu,
                                     ZnVisualManager::CaptionHitPin, ZnVisualManager::CaptionHitMaximize};

Color SysColor(int index)
{
    return Color(static_cast<unsigned long>(GetSysColor(index)));
}

// p % of the way from a to b, per channel, rounded.
Color Mix(Color const &a, Color const &b, int p)
{
    auto ch = [p](unsigned x, unsigned y) { return (x * unsigned(100 - p) + y * unsigned(p) + 50) / 100; };
    unsigned long const v = ch(a.Get8BitRed(), b.Get8BitRed()) | ch(a.Get8BitGreen(), b.Get8BitGreen()) << 8 |
                            ch(a.Get8BitBlue(), b.Get8BitBlue()) << 16;
    return Color(v);
}

struct CaptionColors
{
    Color back;
    Color text;
};

// Active: the system's active caption colours. Inactive: a neutral grey
// between the face and its shadow, so that an inactive caption still stands
// apart from a pane's face-coloured body. A theme whose active caption would
// look inactive (or whose caption text would vanish) gets the selection
// colours instead: the user must see which pane has the focus.
CaptionColors ColorsOf(bool bActive)
{
    Color const inactiveBack = Mix(SysColor(COLOR_BTNFACE), SysColor(COLOR_BTNSHADOW), 25);
    if (!bActive)
        return {inactiveBack, SysColor(COLOR_BTNTEXT)};
    CaptionColors c{SysColor(COLOR_ACTIVECAPTION), SysColor(COLOR_CAPTIONTEXT)};
    if (c.back.GetLong() == inactiveBack.GetLong() || c.back.GetLong() == c.text.GetLong())
        c = {SysColor(COLOR_HIGHLIGHT), SysColor(COLOR_HIGHLIGHTTEXT)};
    return c;
}

void Fill(OutputDevice &rDev, Color const &rColor, int left, int top, int right, int bottom)
{
    if (right >= left && bottom >= top)
        rDev.Erase(rColor, CRectangle(left, top, right, bottom));
}

// A frame t pixels thick inside r.
void Frame(OutputDevice &rDev, Color const &c, CRectangle const &r, int t)
{
    int const l = r.Left(), tp = r.Top(), rt = r.Right(), b = r.Bottom();
    if (r.GetWidth() <= 2 * t || r.GetHeight() <= 2 * t) {
        Fill(rDev, c, l, tp, rt, b);
        return;
    }
    Fill(rDev, c, l, tp, rt, tp + t - 1);
    Fill(rDev, c, l, b - t + 1, rt, b);
    Fill(rDev, c, l, tp + t, l + t - 1, b - t);
    Fill(rDev, c, rt - t + 1, tp + t, rt, b - t);
}

// The glyphs are drawn from filled runs of whole pixels, so that they stay
// crisp and keep their proportions at every resolution: (l, tp) is the top
// left of a square box of edge s, t the stroke width.

void GlyphClose(OutputDevice &rDev, Color const &c, int l, int tp, int s, int t)
{
    int const n = s - t + 1;
    for (int k = 0; k < n; ++k) {
        Fill(rDev, c, l + k, tp + k, l + k + t - 1, tp + k);
        Fill(rDev, c, l + n - 1 - k, tp + k, l + n - 1 - k + t - 1, tp + k);
    }
}

void GlyphMenu(OutputDevice &rDev, Color const &c, int l, int tp, int s)
{
    int const w = s % 2 ? s : s - 1; // odd, so that the point sits on one pixel
    int const h = (w + 1) / 2;
    int const x0 = l + (s - w) / 2, y0 = tp + (s - h) / 2 + 1;
    for (int i = 0; i < h; ++i)
        Fill(rDev, c, x0 + i, y0 + i, x0 + w - 1 - i, y0 + i);
}

void GlyphPin(OutputDevice &rDev, Color const &c, int l, int tp, int s, int t)
{
    int const headL = l + s / 4, headR = l + s - 1 - s / 4, headB = tp + s / 2 - 1;
    Frame(rDev, c, CRectangle(headL, tp, headR, headB), t);
    Fill(rDev, c, headR - 2 * t + 1, tp, headR, headB); // the lit side of the head is thicker
    Fill(rDev, c, l, headB + 1, l + s - 1, headB + t);
    int const x = l + (s - t) / 2;
    Fill(rDev, c, x, headB + t + 1, x + t - 1, tp + s - 1);
}

// The pin turned a quarter: the needle points left, out of the site.
void GlyphPinOff(OutputDevice &rDev, Color const &c, int l, int tp, int s, int t)
{
    int const headT = tp + s / 4, headB = tp + s - 1 - s / 4, headL = l + s / 2;
    Frame(rDev, c, CRectangle(headL, headT, l + s - 1, headB), t);
    Fill(rDev, c, headL, headB - 2 * t + 1, l + s - 1, headB);
    Fill(rDev, c, headL - t, tp, headL - 1, tp + s - 1);
    int const y = tp + (s - t) / 2;
    Fill(rDev, c, l, y, headL - t - 1, y + t - 1);
}

void GlyphMaximize(OutputDevice &rDev, Color const &c, int l, int tp, int s, int t)
{
    Frame(rDev, c, CRectangle(l, tp, l + s - 1, tp + s - 1), t);
    Fill(rDev, c, l, tp + t, l + s - 1, tp + 2 * t - 1); // a title bar on the window
}

UString ToWide(SString const &rText)
{
    if (rText.IsTranscript()) {
        UString u;
        u.SetTranscript(rText, 0, STR_TO_END);
        return u;
    }
    return UString(rText);
}

void NotImplemented()
{
    AfxMessageBox("Not implemented yet (Kestrel5)");
}

} // namespace

// ---------------------------------------------------------------- the one object

ZnVisualManager *ZnVisualManager::GetPVisualManager()
{
    if (!g_pVisualManager)
        g_pVisualManager = new ZnVisualManager;
    return g_pVisualManager;
}

ZnVisualManager *ZnVisualManager::GetPVisualManagerIfAny()
{
    return g_pVisualManager;
}

void ZnVisualManager::DestroyVisualManager()
{
    // Cleared before the delete: a destructor that asks for the painter must
    // not get the one being destroyed.
    ZnVisualManager *p = g_pVisualManager;
    g_pVisualManager = nullptr;
    delete p;
}

void ZnVisualManager::SetPVisualManager(ZnVisualManager *pNew)
{
    if (pNew == g_pVisualManager)
        return;
    ZnVisualManager *pOld = g_pVisualManager;
    g_pVisualManager = pNew;
    delete pOld;
}

ZnVisualManager::ZnVisualManager() : m_nCaptionFontDpi{0, 0}
{
}

ZnVisualManager::~ZnVisualManager()
{
}

// ---------------------------------------------------------------- metrics

int ZnVisualManager::Scale(int v)
{
    KSData const *pData = GetPKSData();
    return pData ? pData->ScaleY(v) : v;
}

int ZnVisualManager::GetCaptionHeight() const
{
    return Scale(CAPTION_HEIGHT);
}

int ZnVisualManager::GetCaptionButtonSize() const
{
    return Scale(BUTTON_EDGE);
}

int ZnVisualManager::GetPaneBorderWidth() const
{
    return std::max(1, Scale(PANE_BORDER));
}

Font ZnVisualManager::GetCaptionFont(bool bActive)
{
    int const slot = bActive ? 1 : 0;
    KSData const *pData = GetPKSData();
    int const dpi = pData ? pData->m_nLogPixelsY : 96;
    Color const text = ColorsOf(bActive).text;
    Font &f = m_aCaptionFont[slot];
    if (f.IsEmpty() || m_nCaptionFontDpi[slot] != dpi || f.GetColor().GetLong() != text.GetLong()) {
        // Made whole before it is kept: a change to a font that devices
        // share would copy it, and with it its platform font, on every draw.
        Font made(SString("Segoe UI"), Scale(CAPTION_FONT_EM));
        made.ChangeColor(text);
        made.ChangeTransparent(true);
        f = made;
        m_nCaptionFontDpi[slot] = dpi;
    }
    return f;
}

// ---------------------------------------------------------------- layout

bool ZnVisualManager::LayoutCaptionButtons(CRectangle const &rCaption, unsigned const *pHitCodes, int nCount,
                                           CRectangle *pOut) const
{
    if (nCount <= 0)
        return true;
    if (!pHitCodes || !pOut)
        return false;
    bool const usable = !rCaption.IsEmpty() && rCaption.GetWidth() > 0 && rCaption.GetHeight() > 0;
    int const height = usable ? rCaption.GetHeight() : 0;
    int const edge = std::min(GetCaptionButtonSize(), height);
    int const margin = std::max(0, (GetCaptionHeight() - GetCaptionButtonSize()) / 2);
    int const gap = Scale(BUTTON_GAP);
    int const top = usable ? rCaption.Top() + (height - edge) / 2 : 0;
    // The right edge of the next button; 64 bits, since a caption may reach
    // to the limits of int.
    long long right = static_cast<long long>(usable ? rCaption.Right() : 0) - margin;
    bool all = true, room = usable && edge > 0;
    for (int i = 0; i < nCount; ++i) {
        pOut[i] = CRectangle();
        if (pHitCodes[i] == CaptionHitNone)
            continue;
        long long const left = right - edge + 1;
        if (room && left >= rCaption.Left())
            pOut[i] = CRectangle(Point(static_cast<int>(left), top), Size(edge, edge));
        // Once one button does not fit, the following ones are left out as
        // well: skipping it would put them out of order.
        room = room && !pOut[i].IsEmpty();
        all = all && room;
        right = left - 1 - gap;
    }
    return all;
}

CRectangle ZnVisualManager::GetCaptionTextRect(CRectangle const &rCaption, unsigned const *pHitCodes,
                                               int nCount) const
{
    if (rCaption.IsEmpty() || rCaption.GetWidth() <= 0 || rCaption.GetHeight() <= 0)
        return CRectangle();
    long long right = static_cast<long long>(rCaption.Right()) -
                      std::max(0, (GetCaptionHeight() - GetCaptionButtonSize()) / 2);
    if (nCount > 0 && pHitCodes) {
        std::vector<CRectangle> buttons(static_cast<size_t>(nCount));
        LayoutCaptionButtons(rCaption, pHitCodes, nCount, buttons.data());
        for (CRectangle const &b : buttons)
            if (!b.IsEmpty())
                right = std::min(right, static_cast<long long>(b.Left()) - Scale(TEXT_GAP_RIGHT) - 1);
    }
    long long const left = static_cast<long long>(rCaption.Left()) + Scale(TEXT_PAD_LEFT);
    if (right < left)
        return CRectangle();
    return CRectangle(static_cast<int>(left), rCaption.Top(), static_cast<int>(right), rCaption.Bottom());
}

// ---------------------------------------------------------------- drawing

void ZnVisualManager::DrawPaneCaption(OutputDevice &rDev, CRectangle const &rCaption, SString const &rText,
                                      bool bActive)
{
    DrawPaneCaption(rDev, rCaption, rText, bActive, STANDARD_BUTTONS, int(std::size(STANDARD_BUTTONS)));
}

void ZnVisualManager::DrawPaneCaption(OutputDevice &rDev, CRectangle const &rCaption, SString const &rText,
                                      bool bActive, unsigned const *pHitCodes, int nCount)
{
    if (rCaption.IsEmpty() || !rDev.GethDC())
        return;
    rDev.Erase(ColorsOf(bActive).back, rCaption);
    CRectangle const area = GetCaptionTextRect(rCaption, pHitCodes, nCount);
    UString const text = ToWide(rText);
    if (area.IsEmpty() || text.Len() == 0)
        return;

    Font const keep = rDev.GetFont();
    rDev.ChangeFont(GetCaptionFont(bActive));
    UString shown = text;
    int const room = area.GetWidth();
    if (rDev.GetTextSizeW(text).Width() > room) {
        // The longest head of the text that fits with the ellipsis behind it.
        UString const ellipsis(L"\x2026");
        int const ellipsisWidth = rDev.GetTextSizeW(ellipsis).Width();
        unsigned lo = 0, hi = unsigned(text.Len());
        while (lo < hi) {
            unsigned const mid = (lo + hi + 1) / 2;
            if (rDev.GetTextSizeW(text, 0, mid).Width() + ellipsisWidth <= room)
                lo = mid;
            else
                hi = mid - 1;
        }
        if (lo > 0 && IS_HIGH_SURROGATE(text.GetStr()[lo - 1]))
            --lo; // never half a character
        shown = text.Copy(0, lo);
        shown += ellipsis;
    }
    int const y = area.Top() + (area.GetHeight() - rDev.GetTextSizeW(shown).Height()) / 2;
    // Glyphs may overhang their advance (italics, a wide last letter): the
    // clip keeps them off the buttons. The caller's own clip stays in force.
    HDC const h = rDev.GethDC();
    int const saved = SaveDC(h);
    IntersectClipRect(h, area.Left(), area.Top(), area.Right() + 1, area.Bottom() + 1);
    rDev.DrawTextW(Point(area.Left(), y), shown);
    RestoreDC(h, saved);
    rDev.ChangeFont(keep);
}

void ZnVisualManager::DrawCaptionButton(OutputDevice &rDev, CRectangle const &rButton, unsigned nHitCode,
                                        ButtonState eState, bool bActiveCaption)
{
    if (rButton.IsEmpty() || rButton.GetWidth() <= 0 || rButton.GetHeight() <= 0 || !rDev.GethDC())
        return;
    CaptionColors const c = ColorsOf(bActiveCaption);
    rDev.Erase(c.back, rButton);
    int const t = std::max(1, Scale(LINE));
    if (eState == ButtonHot || eState == ButtonPressed) {
        CRectangle inner(rButton);
        inner.Inflate(-2 * t, -2 * t); // t off each side
        if (!inner.IsEmpty() && inner.GetWidth() > 0 && inner.GetHeight() > 0)
            rDev.Erase(Mix(c.back, c.text, eState == ButtonHot ? 20 : 40), inner);
        Frame(rDev, Mix(c.back, c.text, 55), rButton, t);
    }
    Color const ink = eState == ButtonDisabled ? Mix(c.back, c.text, 40) : c.text;

    int const edge = std::min(rButton.GetWidth(), rButton.GetHeight());
    int const pad = edge / 4;
    int const s = edge - 2 * pad;
    if (s < 3)
        return; // too small for a recognisable glyph
    int const l = rButton.Left() + (rButton.GetWidth() - s) / 2;
    int const tp = rButton.Top() + (rButton.GetHeight() - s) / 2;
    switch (nHitCode) {
    case CaptionHitClose:
        GlyphClose(rDev, ink, l, tp, s, t);
        break;
    case CaptionHitMenu:
        GlyphMenu(rDev, ink, l, tp, s);
        break;
    case CaptionHitPin:
        GlyphPin(rDev, ink, l, tp, s, t);
        break;
    case CaptionHitPinOff:
        GlyphPinOff(rDev, ink, l, tp, s, t);
        break;
    case CaptionHitMaximize:
        GlyphMaximize(rDev, ink, l, tp, s, t);
        break;
    default:
        break;
    }
}

void ZnVisualManager::DrawPaneBorder(OutputDevice &rDev, CRectangle const &rWindowRect)
{
    if (rWindowRect.IsEmpty() || rWindowRect.GetWidth() <= 0 || rWindowRect.GetHeight() <= 0)
        return;
    Frame(rDev, SysColor(COLOR_BTNSHADOW), rWindowRect, GetPaneBorderWidth());
}

void ZnVisualManager::DrawDivider(OutputDevice &rDev, CRectangle const &rDivider, bool bHorizontal, bool bDefault)
{
    if (rDivider.IsEmpty() || rDivider.GetWidth() <= 0 || rDivider.GetHeight() <= 0)
        return;
    Color const face = SysColor(COLOR_BTNFACE);
    rDev.Erase(face, rDivider);
    int const t = std::max(1, Scale(LINE));
    int const across = bHorizontal ? rDivider.GetHeight() : rDivider.GetWidth();
    if (across < 2 * t + 1)
        return; // no room for an edge beside the face
    Color const shadow = SysColor(COLOR_BTNSHADOW);
    Color const farEdge = bDefault ? shadow : Mix(face, shadow, 50);
    int const l = rDivider.Left(), tp = rDivider.Top(), r = rDivider.Right(), b = rDivider.Bottom();
    if (bHorizontal) {
        if (bDefault)
            Fill(rDev, SysColor(COLOR_BTNHIGHLIGHT), l, tp, r, tp + t - 1);
        Fill(rDev, farEdge, l, b - t + 1, r, b);
    } else {
        if (bDefault)
            Fill(rDev, SysColor(COLOR_BTNHIGHLIGHT), l, tp, l + t - 1, b);
        Fill(rDev, farEdge, r - t + 1, tp, r, b);
    }
}

void ZnVisualManager::DrawDividerTracker(OutputDevice &rDev, CRectangle const &rTracker)
{
    HDC const h = rDev.GethDC();
    if (!h || rTracker.IsEmpty() || rTracker.GetWidth() <= 0 || rTracker.GetHeight() <= 0)
        return;
    // A monochrome pattern brush takes its colours from the DC: with black
    // text and a white background its set bits invert and its clear bits
    // leave the pixel alone, whatever colours the caller had chosen.
    static WORD const halftone[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP const bitmap = CreateBitmap(8, 8, 1, 1, halftone);
    HBRUSH const brush = bitmap ? CreatePatternBrush(bitmap) : nullptr;
    if (brush) {
        COLORREF const oldText = SetTextColor(h, RGB(0, 0, 0));
        COLORREF const oldBack = SetBkColor(h, RGB(255, 255, 255));
        HGDIOBJ const oldBrush = SelectObject(h, brush);
        PatBlt(h, rTracker.Left(), rTracker.Top(), rTracker.GetWidth(), rTracker.GetHeight(), PATINVERT);
        SelectObject(h, oldBrush);
        SetBkColor(h, oldBack);
        SetTextColor(h, oldText);
        DeleteObject(brush);
    }
    if (bitmap)
        DeleteObject(bitmap);
}

void ZnVisualManager::DrawPaneTab(OutputDevice &, CRectangle const &, SString const &, bool)
{
    NotImplemented();
}

void ZnVisualManager::DrawAutoHideButton(OutputDevice &, CRectangle const &, SString const &, unsigned long)
{
    NotImplemented();
}
