#include "controls/ZnListCtrl.h"
#include "controls/OrphanedControl.h"

#include "controls/ListControl.h"
#include "controls/ListItemCallBackData.h"
#include "mfc/CImageList.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The platform leaves the key flags of clicks 0: they are read here.
unsigned int KeyFlags()
{
    unsigned int f = 0;
    if (GetKeyState(VK_MENU) < 0)
        f |= LVKF_ALT;
    if (GetKeyState(VK_CONTROL) < 0)
        f |= LVKF_CONTROL;
    if (GetKeyState(VK_SHIFT) < 0)
        f |= LVKF_SHIFT;
    return f;
}

std::string Narrow(wchar_t const *p)
{
    if (!p)
        return std::string();
    int const n = WideCharToMultiByte(CP_ACP, 0, p, -1, nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n > 0 ? n : 1), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, p, -1, s.data(), n, nullptr, nullptr);
    s.resize(std::strlen(s.c_str()));
    return s;
}

// Copies the text into a buffer of nMax characters, cut to nMax - 1.
void CopyCut(SString const &rText, char *pBuf, int nMax)
{
    if (!pBuf || nMax <= 0)
        return;
    size_t const n = std::min(size_t(rText.Len()), size_t(nMax - 1));
    std::memcpy(pBuf, rText.GetStr(), n);
    pBuf[n] = '\0';
}

void CopyCut(SString const &rText, wchar_t *pBuf, int nMax)
{
    if (!pBuf || nMax <= 0)
        return;
    int const n = MultiByteToWideChar(CP_ACP, 0, rText.GetStr(), int(rText.Len()), pBuf, nMax - 1);
    if (n > 0 || rText.Len() == 0) {
        pBuf[std::max(n, 0)] = L'\0';
        return;
    }
    // Longer than the buffer: the part that fits.
    std::vector<wchar_t> all(size_t(rText.Len()) + 1);
    int const m = MultiByteToWideChar(CP_ACP, 0, rText.GetStr(), int(rText.Len()), all.data(), int(all.size()));
    int const k = std::min(std::max(m, 0), nMax - 1);
    std::copy(all.begin(), all.begin() + k, pBuf);
    pBuf[k] = L'\0';
}

// What an item or cell shows without a draw-list-item link.
SString DefaultText(int nItem, int nSubItem)
{
    SString text(nSubItem == 0 ? "No: " : "Sub: ");
    text += nSubItem == 0 ? nItem : nSubItem;
    return text;
}

} // namespace

ZnListCtrl::ZnListCtrl(ListControl *pList)
    : m_pList(pList), m_aCellColor(static_cast<unsigned long>(GetSysColor(COLOR_WINDOW))), m_nLineHeight(0),
      m_nDepth(0), m_nInLink(0), m_bCustomDrawCells(false), m_bDelayedScrolling(false), m_bKeyInput(true), m_bEditing(true),
      m_bOrphan(false)
{
}

void ZnListCtrl::ImpOrphan()
{
    m_pList = nullptr;
    m_bOrphan = true;
    OrphanedControl::Orphan(m_hWnd);
}

void ZnListCtrl::PostNcDestroy()
{
    CBCGPListCtrl::PostNcDestroy();
    if (m_bOrphan)
        delete this;
}

LRESULT ZnListCtrl::WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    if (OrphanedControl::Handle(*this, message, m_bOrphan, m_nDepth))
        return 0;
    // Delayed scrolling: the rows follow the thumb when it is let go.
    if (message == WM_VSCROLL && m_bDelayedScrolling && LOWORD(wParam) == SB_THUMBTRACK)
        return 0;
    return CBCGPListCtrl::WindowProc(message, wParam, lParam);
}

void ZnListCtrl::ImpAsk(ListItemCallBackData &rData)
{
    if (!m_aDrawListItemHdl.IsSet()) {
        rData.aText = DefaultText(rData.nItem, rData.nSubItem);
        return;
    }
    ++m_nDepth;
    ++m_nInLink;
    m_aDrawListItemHdl.Call(&rData);
    --m_nInLink;
    --m_nDepth;
}

SString ZnListCtrl::ItemText(int nItem, int nSubItem, int *pImage)
{
    ListItemCallBackData d(LVIF_TEXT | LVIF_IMAGE, nItem, nSubItem);
    ImpAsk(d);
    if (pImage)
        *pImage = d.nImage;
    return d.aText;
}

LRESULT ZnListCtrl::ImpGetDispInfo(NMLVDISPINFOA *pInfo, bool bWide)
{
    LVITEMA &item = pInfo->item;
    ListItemCallBackData d(int(item.mask), item.iItem, item.iSubItem);
    bool const tiles = m_pList && m_pList->nViewStyle == 4 && item.iSubItem == 0;
    if (tiles)
        d.nMask |= LVIF_COLUMNS;
    ImpAsk(d);
    if (item.mask & LVIF_IMAGE)
        item.iImage = d.nImage;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        SString text = d.aText;
        // Tiles where the platform has none: the label with its columns'
        // texts on the lines below it, in the large-icon view.
        if (tiles && m_aDrawListItemHdl.IsSet())
            for (size_t i = 0; i < d.aColumns.size() && m_pList; ++i) {
                if (m_pList->nTileLines > 0 && int(i) >= m_pList->nTileLines)
                    break;
                text += "\r\n";
                text += ItemText(item.iItem, d.aColumns[i]);
            }
        if (bWide)
            CopyCut(text, reinterpret_cast<wchar_t *>(item.pszText), item.cchTextMax);
        else
            CopyCut(text, item.pszText, item.cchTextMax);
    }
    if ((item.mask & LVIF_COLUMNS) && item.puColumns) {
        UINT const n = std::min(item.cColumns, UINT(d.aColumns.size()));
        for (UINT i = 0; i < n; ++i)
            item.puColumns[i] = UINT(d.aColumns[i]);
        item.cColumns = n;
    }
    return 0;
}

int ZnListCtrl::FindItem(char const *pText, int nStart)
{
    int const count = GetItemCount();
    size_t const len = pText ? std::strlen(pText) : 0;
    if (count <= 0 || len == 0)
        return -1;
    if (nStart < 0 || nStart >= count)
        nStart = 0;
    char buf[65];
    int i = nStart;
    do {
        buf[0] = '\0';
        GetItemText(i, 0, buf, sizeof buf);
        if (std::strlen(buf) >= len && _strnicmp(buf, pText, len) == 0)
            return i;
        i = i + 1 < count ? i + 1 : 0;
    } while (i != nStart);
    return -1;
}

LRESULT ZnListCtrl::ImpCustomDraw(NMLVCUSTOMDRAW *pDraw)
{
    if (!m_bCustomDrawCells || !m_pList)
        return CDRF_DODEFAULT;
    NMCUSTOMDRAW &cd = pDraw->nmcd;
    HDC dc = cd.hdc;
    switch (cd.dwDrawStage) {
    case CDDS_PREPAINT:
        m_pList->OnPrePaint(dc);
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_POSTPAINT:
        m_pList->OnPostPaint(dc);
        return CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT:
        m_pList->OnItemPrePaint(dc, int(cd.dwItemSpec));
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        int const item = int(cd.dwItemSpec), sub = pDraw->iSubItem;
        CRectangle const r = m_pList->GetCellRect(item, sub);
        bool const selected = (GetItemState(item, LVIS_SELECTED) & LVIS_SELECTED) != 0;
        Color const colour(static_cast<unsigned long>(selected ? GetSysColor(COLOR_HIGHLIGHT) : m_aCellColor.GetLong()));
        return m_pList && m_pList->OnCustomDrawCell(dc, item, sub, r, colour, selected) ? CDRF_SKIPDEFAULT
                                                                                     : CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

bool ZnListCtrl::OnChildNotify(unsigned int message, WPARAM, LPARAM lParam, LRESULT *pResult)
{
    if (message == WM_MEASUREITEM) {
        if (m_nLineHeight <= 0)
            return false;
        reinterpret_cast<MEASUREITEMSTRUCT *>(lParam)->itemHeight = UINT(m_nLineHeight);
        return true;
    }
    if (message != WM_NOTIFY || !m_pList)
        return false;
    auto *hdr = reinterpret_cast<NMHDR *>(lParam);
    ++m_nDepth;
    bool handled = true;
    LRESULT result = 0;
    switch (hdr->code) {
    case LVN_GETDISPINFOA:
    case LVN_GETDISPINFOW:
        // Both structures have the same layout; only the text differs.
        result = ImpGetDispInfo(reinterpret_cast<NMLVDISPINFOA *>(lParam), hdr->code == LVN_GETDISPINFOW);
        break;
    case NM_CLICK:
    case NM_RCLICK:
    case NM_DBLCLK: {
        auto *act = reinterpret_cast<NMITEMACTIVATE *>(lParam);
        unsigned int const flags = act->uKeyFlags | KeyFlags();
        if (hdr->code == NM_RCLICK)
            m_pList->OnItemRClick(act->iItem, act->iSubItem, flags, true, Point(act->ptAction.x, act->ptAction.y));
        else if (act->iItem >= 0 && hdr->code == NM_CLICK)
            m_pList->OnItemClick(act->iItem, act->iSubItem, flags, false);
        else if (act->iItem >= 0)
            m_pList->OnItemDoubleClick(act->iItem, flags, false);
        break;
    }
    case LVN_COLUMNCLICK: {
        int const column = reinterpret_cast<NMLISTVIEW *>(lParam)->iSubItem;
        m_pList->nLastClickedColumn = column;
        m_pList->OnColumnClick(column);
        break;
    }
    case LVN_ITEMCHANGED: {
        auto *lv = reinterpret_cast<NMLISTVIEW *>(lParam);
        if ((lv->uChanged & LVIF_STATE) && (lv->uNewState & LVIS_SELECTED))
            m_pList->OnItemSelected(lv->iItem);
        break;
    }
    case LVN_BEGINLABELEDITA:
    case LVN_BEGINLABELEDITW:
        result = m_bEditing ? FALSE : TRUE;
        break;
    case LVN_ENDLABELEDITA:
    case LVN_ENDLABELEDITW: {
        auto *info = reinterpret_cast<NMLVDISPINFOA *>(lParam);
        std::string text;
        char *p = info->item.pszText;
        if (hdr->code == LVN_ENDLABELEDITW && p) {
            text = Narrow(reinterpret_cast<wchar_t const *>(p));
            p = text.data();
        }
        m_pList->OnEndLabelEdit(info->item.iItem, p);
        result = FALSE;
        break;
    }
    case LVN_BEGINDRAG:
    case LVN_BEGINRDRAG: {
        auto *lv = reinterpret_cast<NMLISTVIEW *>(lParam);
        m_pList->OnBeginDrag(lv->iItem, Point(lv->ptAction.x, lv->ptAction.y));
        break;
    }
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW: {
        // The typed text comes as a string search, or (Wine) as a partial
        // search without the string flag, which implies one.
        auto *find = reinterpret_cast<NMLVFINDITEMA *>(lParam);
        result = -1;
        if (find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) {
            std::string text = hdr->code == LVN_ODFINDITEMW
                                   ? Narrow(reinterpret_cast<wchar_t const *>(find->lvfi.psz))
                                   : std::string(find->lvfi.psz ? find->lvfi.psz : "");
            m_pList->OnKeyInput(text.c_str());
            if (m_bKeyInput && m_pList)
                result = FindItem(text.c_str(), find->iStart);
        }
        break;
    }
    case LVN_GETINFOTIPA:
    case LVN_GETINFOTIPW: {
        auto *tip = reinterpret_cast<NMLVGETINFOTIPA *>(lParam);
        SString const text = m_pList->GetToolTipText(tip->iItem);
        if (hdr->code == LVN_GETINFOTIPW)
            CopyCut(text, reinterpret_cast<wchar_t *>(tip->pszText), tip->cchTextMax);
        else
            CopyCut(text, tip->pszText, tip->cchTextMax);
        break;
    }
    case NM_CUSTOMDRAW:
        result = ImpCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW *>(lParam));
        break;
    default:
        handled = false;
    }
    --m_nDepth;
    *pResult = result;
    return handled;
}

bool ZnListCtrl::OnNotify(WPARAM, LPARAM lParam, LRESULT *)
{
    // The list's own children: the header and the tool tip.
    auto const *hdr = reinterpret_cast<NMHDR const *>(lParam);
    if (!hdr || !m_pList)
        return false;
    CHeaderCtrl *header = IsHeaderAttached() ? &GetLibHeader() : nullptr;
    if (header && hdr->hwndFrom == header->m_hWnd && hdr->code == NM_RCLICK && m_aHeaderRightClickHdl.IsSet()) {
        POINT pt;
        GetCursorPos(&pt);
        ::ScreenToClient(header->m_hWnd, &pt);
        int column = header->HitTest(pt);
        ++m_nDepth;
        m_aHeaderRightClickHdl.Call(&column);
        --m_nDepth;
    } else if (hdr->code == TTN_SHOW) {
        ++m_nDepth;
        m_pList->OnPushToolTip();
        --m_nDepth;
    } else if (hdr->code == TTN_POP) {
        ++m_nDepth;
        m_pList->OnPopToolTip();
        --m_nDepth;
    }
    return false; // the list view does its own part as well
}

bool ZnListCtrl::OnChildDrawItem(DRAWITEMSTRUCT *pDIS)
{
    if (!pDIS || pDIS->hwndItem != m_hWnd || pDIS->CtlType != ODT_LISTVIEW)
        return false;
    ++m_nDepth;
    DrawItem(pDIS);
    --m_nDepth;
    return true;
}

void ZnListCtrl::DrawItem(DRAWITEMSTRUCT *pDIS)
{
    HDC dc = pDIS->hDC;
    int const item = int(pDIS->itemID);
    bool const selected = (pDIS->itemState & ODS_SELECTED) != 0;
    bool const active = ::GetFocus() == m_hWnd;
    COLORREF const back = selected ? GetSysColor(active ? COLOR_HIGHLIGHT : COLOR_BTNFACE) : m_aCellColor.GetLong();
    COLORREF const ink = selected ? GetSysColor(active ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT) : GetSysColor(COLOR_WINDOWTEXT);
    HBRUSH fill = CreateSolidBrush(back);
    FillRect(dc, &pDIS->rcItem, fill);
    DeleteObject(fill);
    int const columns = IsHeaderAttached() ? GetLibHeader().GetItemCount() : 0;
    std::vector<int> order(size_t(std::max(columns, 1)), 0);
    if (columns > 0)
        ::SendMessageA(m_hWnd, LVM_GETCOLUMNORDERARRAY, WPARAM(columns), LPARAM(order.data()));
    HIMAGELIST small = reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    int const oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF const oldInk = SetTextColor(dc, ink);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    for (int column : order) {
        if (!m_pList)
            break;
        CRectangle const cell = m_pList->GetCellRect(item, column);
        if (cell.IsEmpty())
            continue;
        if (m_bCustomDrawCells &&
            m_pList->OnCustomDrawCell(dc, item, column, cell, Color(static_cast<unsigned long>(back)), selected))
            continue;
        if (!m_pList)
            break;
        int image = 0;
        SString const text = ItemText(item, column, &image);
        if (!m_pList)
            break;
        RECT r{cell.Left(), cell.Top(), cell.Right() + 1, cell.Bottom() + 1};
        if (column == 0 && small) {
            int cx = 0, cy = 0;
            ImageList_GetIconSize(small, &cx, &cy);
            ImageList_Draw(small, image, dc, r.left + 2, r.top + (r.bottom - r.top - cy) / 2,
                           ILD_TRANSPARENT | (selected && active ? ILD_BLEND50 : 0));
            r.left += cx + 4;
        }
        if (m_pList->HasCustomDrawText()) {
            m_pList->OnCustomDrawText(dc, item, column, text, CRectangle(r.left, r.top, r.right - 1, r.bottom - 1),
                                      selected);
            continue;
        }
        r.left += 4;
        r.right -= 4;
        ::DrawTextA(dc, text.GetStr(), int(text.Len()), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    if (oldFont)
        SelectObject(dc, oldFont);
    SetTextColor(dc, oldInk);
    SetBkMode(dc, oldMode);
    if ((pDIS->itemState & ODS_FOCUS) && active)
        DrawFocusRect(dc, &pDIS->rcItem);
}
