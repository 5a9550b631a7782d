#include "controls/DrawButton.h"

#include <algorithm>
#include <windows.h>

namespace {

// The symbols are drawn in a square centred in the face, a third of the
// smaller side from edge to edge, so that they read at any button size.
struct Box
{
    int cx, cy, h; // centre and half size
};

Box SymbolBox(RECT const &r)
{
    int const side = std::max(6, static_cast<int>(std::min(r.right - r.left, r.bottom - r.top)) / 3);
    return Box{(r.left + r.right) / 2, (r.top + r.bottom) / 2, side};
}

void Fill(HDC dc, POINT const *pts, int n)
{
    Polygon(dc, pts, n);
}

} // namespace

DrawButton::DrawButton(Window *pParent, DrawButtonType eType) : m_eType(eType)
{
    InitButton(pParent, 0, 0x40000, pParent ? GetControlIdCnt() : 0);
}

void DrawButton::DrawButtonFace(DRAWITEMSTRUCT *pDIS)
{
    if (!pDIS)
        return;
    Face const face = DrawPushFrame(pDIS);
    HDC dc = face.hDC;
    RECT r = face.aRect;
    bool const pushed = face.bPushed, disabled = face.bDisabled;
    if (pushed)
        OffsetRect(&r, 1, 1);
    COLORREF const ink = GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    HPEN pen = CreatePen(PS_SOLID, 1, ink);
    HBRUSH brush = CreateSolidBrush(ink);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    switch (m_eType) {
    case DrawButtonCancel: DrawCancel(dc, r); break;
    case DrawButtonBack: DrawBack(dc, r); break;
    case DrawButtonForward: DrawForward(dc, r); break;
    case DrawButtonLeft: DrawLeft(dc, r); break;
    case DrawButtonLeftStop: DrawLeftStop(dc, r); break;
    case DrawButtonRight: DrawRight(dc, r); break;
    case DrawButtonRightStop: DrawRightStop(dc, r); break;
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    if (pDIS->itemState & ODS_FOCUS) {
        RECT f = pDIS->rcItem;
        InflateRect(&f, -3, -3);
        DrawFocusRect(dc, &f);
    }
}

void DrawButton::DrawCancel(HDC hDC, RECT const &r)
{
    Box b = SymbolBox(r);
    int const t = std::max(1, b.h / 4); // stroke half-width
    POINT const a[] = {{b.cx - b.h, b.cy - b.h + t}, {b.cx - b.h + t, b.cy - b.h}, {b.cx + b.h, b.cy + b.h - t},
                       {b.cx + b.h - t, b.cy + b.h}};
    POINT const c[] = {{b.cx + b.h - t, b.cy - b.h}, {b.cx + b.h, b.cy - b.h + t}, {b.cx - b.h + t, b.cy + b.h},
                       {b.cx - b.h, b.cy + b.h - t}};
    Fill(hDC, a, 4);
    Fill(hDC, c, 4);
}

void DrawButton::DrawBack(HDC hDC, RECT const &r)
{
    Box b = SymbolBox(r);
    int const t = std::max(1, b.h / 4);
    POINT const head[] = {{b.cx - b.h, b.cy}, {b.cx, b.cy - b.h}, {b.cx, b.cy + b.h}};
    Fill(hDC, head, 3);
    Rectangle(hDC, b.cx, b.cy - t, b.cx + b.h + 1, b.cy + t + 1);
}

void DrawButton::DrawForward(HDC hDC, RECT const &r)
{
    Box b = SymbolBox(r);
    int const t = std::max(1, b.h / 4);
    POINT const head[] = {{b.cx + b.h, b.cy}, {b.cx, b.cy - b.h}, {b.cx, b.cy + b.h}};
    Fill(hDC, head, 3);
    Rectangle(hDC, b.cx - b.h, b.cy - t, b.cx + 1, b.cy + t + 1);
}

void DrawButton::DrawLeft(HDC hDC, RECT const &r)
{
    Box b = SymbolBox(r);
    POINT const tri[] = {{b.cx - b.h / 2, b.cy}, {b.cx + b.h / 2, b.cy - b.h}, {b.cx + b.h / 2, b.cy + b.h}};
    Fill(hDC, tri, 3);
}

void DrawButton::DrawLeftStop(HDC hDC, RECT const &r)
{
    Box b = SymbolBox(r);
    POINT const tri[] = {{b.cx - b.h / 2, b.cy}, {b.cx + b.h, b.cy - b.h}, {b.cx + b.h, b.cy + b.h}};
    Fill(hDC, tri, 3);
    Rectangle(hDC, b.cx - b.h, b.cy - b.h, b.cx - b.h / 2, b.cy + b.h + 1);
}

void DrawButton::DrawRight(HDC hDC, RECT const &r)
{
    Box b = SymbolBox(r);
    POINT const tri[] = {{b.cx + b.h / 2, b.cy}, {b.cx - b.h / 2, b.cy - b.h}, {b.cx - b.h / 2, b.cy + b.h}};
    Fill(hDC, tri, 3);
}

void DrawButton::DrawRightStop(HDC hDC, RECT const &r)
{
    Box b = SymbolBox(r);
    POINT const tri[] = {{b.cx + b.h / 2, b.cy}, {b.cx - b.h, b.cy - b.h}, {b.cx - b.h, b.cy + b.h}};
    Fill(hDC, tri, 3);
    Rectangle(hDC, b.cx + b.h / 2 + 1, b.cy - b.h, b.cx + b.h + 1, b.cy + b.h + 1);
}
