#include "bcg/CBCGPHeaderCtrl.h"

IMPLEMENT_DYNAMIC(CBCGPHeaderCtrl, CHeaderCtrl)

void CBCGPHeaderCtrl::SetSortColumn(int nColumn, bool bAscending)
{
    m_nSortColumn = nColumn;
    m_bAscending = bAscending;
    // With visual styles the platform draws the arrows from the item formats.
    for (int i = 0, n = GetItemCount(); i < n; ++i) {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        if (!GetItem(i, &item))
            continue;
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == nColumn)
            item.fmt |= bAscending ? HDF_SORTUP : HDF_SORTDOWN;
        SetItem(i, &item);
    }
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

bool CBCGPHeaderCtrl::OnChildDrawItem(DRAWITEMSTRUCT *pDIS)
{
    // Owner-drawn header items come to the header's parent (the list), which
    // hands them here through its own object.
    if (!pDIS || pDIS->hwndItem != m_hWnd)
        return false;
    DrawItem(pDIS->hDC, int(pDIS->itemID), pDIS->rcItem, (pDIS->itemState & ODS_SELECTED) != 0);
    return true;
}

void CBCGPHeaderCtrl::DrawItem(HDC hDC, int nItem, RECT const &rRect, bool bPressed)
{
    RECT r = rRect;
    DrawFrameControl(hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (bPressed ? DFCS_PUSHED : 0));
    char title[256] = "";
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = title;
    item.cchTextMax = sizeof title;
    GetItem(nItem, &item);
    InflateRect(&r, -6, 0);
    int const arrow = nItem == m_nSortColumn ? 12 : 0;
    RECT text = r;
    text.right -= arrow;
    int const oldMode = SetBkMode(hDC, TRANSPARENT);
    COLORREF const oldColour = SetTextColor(hDC, GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font ? SelectObject(hDC, font) : nullptr;
    unsigned const align = (item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
                           : (item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                                        : DT_LEFT;
    ::DrawTextA(hDC, title, -1, &text, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    if (oldFont)
        SelectObject(hDC, oldFont);
    SetTextColor(hDC, oldColour);
    SetBkMode(hDC, oldMode);
    if (arrow && r.right - arrow > r.left) {
        // A small filled triangle: up for ascending, down for descending.
        int const cx = r.right - arrow / 2, cy = (r.top + r.bottom) / 2;
        POINT const up[3] = {{cx - 4, cy + 2}, {cx + 4, cy + 2}, {cx, cy - 2}};
        POINT const down[3] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 2}};
        HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
        HGDIOBJ oldBrush = SelectObject(hDC, brush), oldPen = SelectObject(hDC, pen);
        Polygon(hDC, m_bAscending ? up : down, 3);
        SelectObject(hDC, oldBrush);
        SelectObject(hDC, oldPen);
        DeleteObject(brush);
        DeleteObject(pen);
    }
}
