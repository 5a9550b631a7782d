#include "controls/ListControl.h"

#include "controls/ZnListCtrl.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "frame/WinMsgRouter.h"
#include "mfc/CImageList.h"

#include <algorithm>
#include <cstring>

namespace {

RECT const NO_RECT{0, 0, 0, 0};

CRectangle FromRECT(RECT const &r)
{
    if (r.right <= r.left || r.bottom <= r.top)
        return CRectangle();
    return CRectangle(r.left, r.top, r.right - 1, r.bottom - 1);
}

int Scaled(int v, bool bX)
{
    KSData *data = GetPKSData();
    return data ? (bX ? data->ScaleX(v) : data->ScaleY(v)) : v;
}

// More than this many selected items, or more than a third of all, are
// cleared by one call for all items instead of one call each.
int const CLEAR_ONE_BY_ONE_LIMIT = 100;

} // namespace

ListControl::ListControl()
    : pListCtrl(nullptr), bImageListsSet(false), bHeaderAttached(false), nLastClickedColumn(-1), nViewStyle(0),
      nTileLines(0), pDefaultLarge(nullptr), pDefaultSmall(nullptr)
{
}

ListControl::ListControl(Window *pParent, int nStyle) : ListControl()
{
    InitListControl(pParent, nStyle, pParent ? GetControlIdCnt() : 0);
}

ListControl::~ListControl()
{
    if (WinMsgRouter *router = GlGetPWinMsgRouter()) {
        router->RemoveControl(this);
        router->RemoveWindow(this);
    }
    if (pListCtrl && pListCtrl->m_nDepth > 0) {
        // Deleted from its own link or virtual operation: the platform
        // control is still inside the notification, so it only hides now.
        pListCtrl->ImpOrphan();
        GiveUpCWnd();
    } else if (pListCtrl) {
        pListCtrl->m_pList = nullptr;
        if (pListCtrl->m_hWnd)
            pListCtrl->DestroyWindow();
    }
    pListCtrl = nullptr;
    delete pDefaultLarge;
    delete pDefaultSmall;
}

void ListControl::InitListControl(Window *pParent, int nStyle, int nId)
{
    ImpSetParent(pParent);
    InitWindowBeforeCreate();
    CreateCListCtrl(pParent ? pParent->GetPCWnd() : nullptr, nStyle, nId);
    InitWindowAfterCreate(pListCtrl, true);
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->AddControl(this);
}

void ListControl::CreateCListCtrl(CWnd *pParent, int nStyle, int nId)
{
    // Owner data, owner-drawn fixed rows, editable labels, auto-arrange and
    // shared image lists.
    unsigned long const style = TranslateControlStyles(nStyle) | 0x40001740;
    RECT const rect{0, 0, Scaled(700, true), Scaled(700, false)};
    pListCtrl = new ZnListCtrl(this);
    pListCtrl->Create(style, rect, pParent, static_cast<unsigned int>(nId));
    pListCtrl->SetExtendedStyle((pListCtrl->GetExtendedStyle() & ~LVS_EX_GRIDLINES) | LVS_EX_FULLROWSELECT |
                                LVS_EX_HEADERDRAGDROP);
    pListCtrl->SetColumnWidth(0, Scaled(160, true));
}

bool ListControl::OwnPaintingAllowed() const
{
    return false;
}

CListCtrl *ListControl::GetPCListCtrl() const
{
    return pListCtrl;
}

bool ListControl::ValidItem(int nItem) const
{
    return pListCtrl && nItem >= 0 && nItem < pListCtrl->GetItemCount();
}

bool ListControl::ValidColumn(int nCol) const
{
    return nCol >= 0 && nCol < GetNColumns();
}

// ------------------------------------------------------------ items

void ListControl::ImpInstallImageLists()
{
    if (bImageListsSet || !pListCtrl)
        return;
    // Empty lists give the views their icon room until the application
    // sets lists of its own.
    pDefaultLarge = new CImageList;
    pDefaultSmall = new CImageList;
    pDefaultLarge->Create(Scaled(32, true), Scaled(32, false), ILC_COLOR32 | ILC_MASK, 0, 4);
    pDefaultSmall->Create(Scaled(16, true), Scaled(16, false), ILC_COLOR32 | ILC_MASK, 0, 4);
    pListCtrl->SetImageList(pDefaultLarge, LVSIL_NORMAL);
    pListCtrl->SetImageList(pDefaultSmall, LVSIL_SMALL);
    bImageListsSet = true;
}

void ListControl::SetItemCount(int nCount)
{
    if (!pListCtrl)
        return;
    ImpInstallImageLists();
    // The same count again changes nothing (and must not repaint: a link
    // may say it while the list draws).
    if (std::max(nCount, 0) == pListCtrl->GetItemCount())
        return;
    pListCtrl->SetItemCountEx(std::max(nCount, 0), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

int ListControl::GetItemCount() const
{
    return pListCtrl ? pListCtrl->GetItemCount() : 0;
}

void ListControl::SetDrawListItemHdl(Link const &rLink)
{
    if (pListCtrl)
        pListCtrl->SetDrawListItemHdl(rLink);
}

void ListControl::RedrawItem(int nItem)
{
    RedrawItems(nItem, nItem);
}

bool ListControl::InLink() const
{
    return pListCtrl && pListCtrl->m_nInLink > 0;
}

void ListControl::RedrawItems(int nFirst, int nLast)
{
    if (!InLink() && ValidItem(nFirst) && ValidItem(nLast) && nFirst <= nLast)
        pListCtrl->RedrawItems(nFirst, nLast);
}

void ListControl::RedrawVisibleItems()
{
    int const count = GetItemCount();
    if (count <= 0)
        return;
    int const top = std::max(GetTopIndex(), 0);
    RedrawItems(top, std::min(count - 1, top + GetCountPerPage()));
}

void ListControl::InvalidateItem(int nItem)
{
    if (InLink())
        return;
    CRectangle const r = GetItemRect(nItem);
    if (!r.IsEmpty()) {
        RECT rc{r.Left(), r.Top(), r.Right() + 1, r.Bottom() + 1};
        ::InvalidateRect(pListCtrl->m_hWnd, &rc, FALSE);
    }
}

void ListControl::RepaintItem(int nItem)
{
    InvalidateItem(nItem);
    if (ValidItem(nItem))
        ::UpdateWindow(pListCtrl->m_hWnd);
}

void ListControl::Refresh()
{
    if (!InLink() && pListCtrl && pListCtrl->m_hWnd) {
        ::InvalidateRect(pListCtrl->m_hWnd, nullptr, TRUE);
        ::UpdateWindow(pListCtrl->m_hWnd);
    }
}

void ListControl::EnsureVisible(int nItem)
{
    if (ValidItem(nItem))
        pListCtrl->EnsureVisible(nItem, false);
}

bool ListControl::IsItemVisible(int nItem) const
{
    if (!ValidItem(nItem))
        return false;
    RECT item, client, both;
    return pListCtrl->GetItemRect(nItem, &item, LVIR_BOUNDS) && ::GetClientRect(pListCtrl->m_hWnd, &client) &&
           IntersectRect(&both, &item, &client);
}

int ListControl::GetTopIndex() const
{
    return pListCtrl ? pListCtrl->GetTopIndex() : -1;
}

void ListControl::SetTopIndex(int nItem)
{
    if (!ValidItem(nItem))
        return;
    RECT target, top;
    int const current = std::max(GetTopIndex(), 0);
    if (pListCtrl->GetItemRect(nItem, &target, LVIR_BOUNDS) && pListCtrl->GetItemRect(current, &top, LVIR_BOUNDS) &&
        IsReport()) {
        pListCtrl->Scroll(SIZE{0, target.top - top.top});
    } else {
        pListCtrl->EnsureVisible(nItem, false);
    }
}

int ListControl::GetCountPerPage() const
{
    return pListCtrl ? pListCtrl->GetCountPerPage() : 0;
}

CRectangle ListControl::GetItemRect(int nItem)
{
    RECT r = NO_RECT;
    if (!ValidItem(nItem) || !pListCtrl->GetItemRect(nItem, &r, LVIR_BOUNDS))
        return CRectangle();
    return FromRECT(r);
}

CRectangle ListControl::GetCellRect(int nItem, int nColumn)
{
    if (!ValidItem(nItem) || !ValidColumn(nColumn))
        return CRectangle();
    RECT r = NO_RECT;
    if (!pListCtrl->GetSubItemRect(nItem, nColumn, LVIR_BOUNDS, r))
        return CRectangle();
    // The first column's bounds are the whole row's.
    if (nColumn == 0)
        r.right = r.left + pListCtrl->GetColumnWidth(0);
    return FromRECT(r);
}

int ListControl::GetRowOfYPos(int nY) const
{
    int const count = GetItemCount();
    int const top = std::max(GetTopIndex(), 0);
    int const last = std::min(count - 1, top + GetCountPerPage() + 1);
    for (int i = top; i <= last; ++i) {
        RECT r;
        if (pListCtrl->GetItemRect(i, &r, LVIR_BOUNDS) && nY >= r.top && nY < r.bottom)
            return i;
    }
    return -1;
}

int ListControl::GetColumnOfXPos(int nItem, int nX) const
{
    if (!ValidItem(nItem))
        return -1;
    auto *self = const_cast<ListControl *>(this);
    for (int c = 0, n = GetNColumns(); c < n; ++c) {
        CRectangle const r = self->GetCellRect(nItem, c);
        if (!r.IsEmpty() && nX >= r.Left() && nX <= r.Right())
            return c;
    }
    return -1;
}

int ListControl::GetColumnIndexByXPixel(int nX) const
{
    if (!bHeaderAttached)
        return -1;
    CHeaderCtrl &header = pListCtrl->GetLibHeader();
    POINT pt{nX, 0};
    ::MapWindowPoints(pListCtrl->m_hWnd, header.m_hWnd, &pt, 1);
    pt.y = 1;
    return header.HitTest(pt);
}

// ------------------------------------------------------------ columns

void ListControl::ImpAttachHeader()
{
    if (!bHeaderAttached && pListCtrl && pListCtrl->AttachHeader())
        bHeaderAttached = true;
}

int ListControl::InsertColumn(int nCol, SString const &rTitle, int, int nWidth, int nOrder)
{
    if (!pListCtrl || nCol < 0 || nCol > GetNColumns())
        return -1;
    char title[256];
    std::strncpy(title, rTitle.GetStr(), 255);
    title[255] = '\0';
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_FMT;
    c.fmt = LVCFMT_LEFT;
    c.pszText = title;
    if (nWidth >= 0) {
        c.mask |= LVCF_WIDTH;
        c.cx = nWidth;
    }
    if (nOrder >= 0) {
        c.mask |= LVCF_ORDER;
        c.iOrder = nOrder;
    }
    int const index = pListCtrl->InsertColumn(nCol, &c);
    if (index < 0)
        return -1;
    ImpAttachHeader();
    KSData *data = GetPKSData();
    if (bHeaderAttached && !(data && data->HasVisualStyles())) {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        CBCGPHeaderCtrl &header = pListCtrl->GetLibHeader();
        if (header.GetItem(index, &item)) {
            item.fmt |= HDF_OWNERDRAW;
            header.SetItem(index, &item);
        }
    }
    return index;
}

void ListControl::DeleteColumn(int nCol)
{
    if (ValidColumn(nCol))
        pListCtrl->DeleteColumn(nCol);
}

int ListControl::SetColumnText(int nCol, SString const &rTitle)
{
    if (!ValidColumn(nCol))
        return -1;
    char title[256];
    std::strncpy(title, rTitle.GetStr(), 255);
    title[255] = '\0';
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT;
    c.pszText = title;
    return pListCtrl->SetColumn(nCol, &c) ? 1 : 0;
}

int ListControl::SetColumnWidth(int nCol, int nWidth)
{
    if (!ValidColumn(nCol))
        return -1;
    return pListCtrl->SetColumnWidth(nCol, nWidth) ? 1 : 0;
}

int ListControl::GetNColumns() const
{
    // The list's header by its handle: no window object is made for it
    // before the library's header is attached.
    HWND header = pListCtrl ? reinterpret_cast<HWND>(::SendMessageA(pListCtrl->m_hWnd, LVM_GETHEADER, 0, 0)) : nullptr;
    return header ? std::max(int(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)), 0) : 0;
}

void ListControl::SetHeaderRightClickHdl(Link const &rLink)
{
    if (pListCtrl)
        pListCtrl->SetHeaderRightClickHdl(rLink);
}

void ListControl::OnSorted(int nColumn, bool bAscending)
{
    if (pListCtrl)
        pListCtrl->SetSortColumn(ValidColumn(nColumn) ? nColumn : -1, bAscending);
}

// ------------------------------------------------------------ selection

void ListControl::Select(int nItem, bool bExclusive)
{
    if (!pListCtrl || nItem >= GetItemCount())
        return;
    if (bExclusive)
        ClearSelection();
    if (nItem < 0)
        return;
    pListCtrl->SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    if (bExclusive)
        pListCtrl->SetSelectionMark(nItem);
}

int ListControl::SelectAll()
{
    if (!pListCtrl || GetItemCount() == 0)
        return 0;
    pListCtrl->SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    return CountSelected();
}

void ListControl::ClearSelection()
{
    if (!pListCtrl)
        return;
    int const selected = CountSelected();
    if (selected > CLEAR_ONE_BY_ONE_LIMIT || selected * 3 > GetItemCount()) {
        pListCtrl->SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        return;
    }
    for (int i = pListCtrl->GetNextItem(-1, LVNI_SELECTED); i >= 0; i = pListCtrl->GetNextItem(-1, LVNI_SELECTED))
        if (!pListCtrl->SetItemState(i, 0, LVIS_SELECTED | LVIS_FOCUSED))
            break;
}

int ListControl::GetSelected() const
{
    return pListCtrl ? pListCtrl->GetNextItem(-1, LVNI_SELECTED) : -1;
}

bool ListControl::GetTwoSelected(int &rFirst, int &rSecond)
{
    rFirst = GetSelected();
    rSecond = rFirst >= 0 ? pListCtrl->GetNextItem(rFirst, LVNI_SELECTED) : -1;
    return rFirst >= 0 && rSecond >= 0;
}

int ListControl::CountSelected() const
{
    return pListCtrl ? int(pListCtrl->GetSelectedCount()) : 0;
}

bool ListControl::IsSelected(int nItem) const
{
    return ValidItem(nItem) && (pListCtrl->GetItemState(nItem, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void ListControl::SetShowSelAlways(bool bShow)
{
    if (pListCtrl)
        pListCtrl->ModifyStyle(bShow ? 0 : LVS_SHOWSELALWAYS, bShow ? LVS_SHOWSELALWAYS : 0);
}

void ListControl::SetCut(int nItem)
{
    if (!pListCtrl || nItem >= GetItemCount())
        return;
    pListCtrl->SetItemState(-1, 0, LVIS_CUT);
    if (nItem >= 0)
        pListCtrl->SetItemState(nItem, LVIS_CUT, LVIS_CUT);
}

void ListControl::SetDropHighlight(int nItem)
{
    if (!pListCtrl || nItem >= GetItemCount())
        return;
    ClearDropHighlight();
    if (nItem >= 0)
        pListCtrl->SetItemState(nItem, LVIS_DROPHILITED, LVIS_DROPHILITED);
}

void ListControl::ClearDropHighlight()
{
    if (pListCtrl)
        pListCtrl->SetItemState(-1, 0, LVIS_DROPHILITED);
}

// ------------------------------------------------------------ views

void ListControl::SetViewStyle(int nStyle)
{
    if (!pListCtrl)
        return;
    auto view = [this](unsigned long type, bool ownerDrawn) {
        pListCtrl->ModifyStyle(LVS_TYPEMASK | LVS_OWNERDRAWFIXED, type | (ownerDrawn ? LVS_OWNERDRAWFIXED : 0));
    };
    auto spacing = [this](int x, int y) { pListCtrl->SetIconSpacing(x > 0 ? x : -1, y > 0 ? y : -1); };
    switch (nStyle) {
    case 0:
        view(LVS_ICON, false);
        spacing(GetSymbolsXSpacing(), GetSymbolsYSpacing());
        break;
    case 2:
        view(LVS_SMALLICON, false);
        spacing(GetSmallSymbolsXSpacing(), GetSmallSymbolsYSpacing());
        break;
    case 3:
        view(LVS_LIST, false);
        break;
    case 4:
        ViewTile(0, 0);
        return;
    default: // 1, and anything unknown
        nStyle = 1;
        view(LVS_REPORT, true);
        break;
    }
    nViewStyle = nStyle;
    ::InvalidateRect(pListCtrl->m_hWnd, nullptr, TRUE);
}

int ListControl::GetViewStyle() const
{
    return nViewStyle;
}

void ListControl::ViewList()
{
    SetViewStyle(3);
}

void ListControl::ViewReport()
{
    SetViewStyle(1);
}

void ListControl::ViewSymbols(int nXSpacing, int nYSpacing)
{
    SetViewStyle(0);
    if (pListCtrl && (nXSpacing > 0 || nYSpacing > 0))
        pListCtrl->SetIconSpacing(nXSpacing > 0 ? nXSpacing : -1, nYSpacing > 0 ? nYSpacing : -1);
}

void ListControl::ViewSmallSymbols(int nXSpacing, int nYSpacing)
{
    SetViewStyle(2);
    if (pListCtrl && (nXSpacing > 0 || nYSpacing > 0))
        pListCtrl->SetIconSpacing(nXSpacing > 0 ? nXSpacing : -1, nYSpacing > 0 ? nYSpacing : -1);
}

void ListControl::ViewTile(int nWidth, int nLines)
{
    if (!pListCtrl)
        return;
    nViewStyle = 4;
    nTileLines = std::max(nLines, 0);
    pListCtrl->ModifyStyle(LVS_TYPEMASK | LVS_OWNERDRAWFIXED, LVS_ICON);
    LVTILEVIEWINFO info{};
    info.cbSize = sizeof info;
    info.dwMask = LVTVIM_TILESIZE | LVTVIM_COLUMNS;
    info.dwFlags = LVTVIF_FIXEDWIDTH;
    info.sizeTile.cx = nWidth > 0 ? nWidth : GetTileXSpacing();
    info.sizeTile.cy = GetTileYSpacing();
    info.cLines = nTileLines;
    // Without the platform's tile view (-1), the large-icon view shows the
    // tile texts under each label.
    if (pListCtrl->SetView(LV_VIEW_TILE) != -1)
        pListCtrl->SetTileViewInfo(&info);
    else
        pListCtrl->SetIconSpacing(info.sizeTile.cx, -1);
    ::InvalidateRect(pListCtrl->m_hWnd, nullptr, TRUE);
}

void ListControl::ArrangeIcons()
{
    if (pListCtrl)
        pListCtrl->Arrange(LVA_DEFAULT);
}

void ListControl::SetListStyle(int nStyle)
{
    if (pListCtrl)
        pListCtrl->ModifyStyle(0, static_cast<unsigned long>(nStyle));
}

void ListControl::SetLineHeightPixel(int nHeight)
{
    if (!pListCtrl || !pListCtrl->m_hWnd)
        return;
    pListCtrl->SetLineHeight(std::max(nHeight, 0));
    // The platform asks for the row height again only when its size changes.
    RECT r;
    ::GetWindowRect(pListCtrl->m_hWnd, &r);
    int const w = r.right - r.left, h = r.bottom - r.top;
    UINT const flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    ::SetWindowPos(pListCtrl->m_hWnd, nullptr, 0, 0, w, h + 1, flags);
    ::SetWindowPos(pListCtrl->m_hWnd, nullptr, 0, 0, w, h, flags);
}

void ListControl::SetLargeImageList(CImageList *pList)
{
    if (!pListCtrl)
        return;
    pListCtrl->SetImageList(pList, LVSIL_NORMAL);
    bImageListsSet = true;
}

void ListControl::SetSmallImageList(CImageList *pList)
{
    if (!pListCtrl)
        return;
    pListCtrl->SetImageList(pList, LVSIL_SMALL);
    bImageListsSet = true;
}

void ListControl::SetFont(Font aFont)
{
    // The window keeps the font alive while the control uses it.
    ChangeFont(aFont);
    if (pListCtrl && pListCtrl->m_hWnd)
        ::SendMessageA(pListCtrl->m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont().GethFont()), TRUE);
}

// ------------------------------------------------------------ editing and input

void ListControl::EnableLabelEditing(bool bEnable)
{
    if (!pListCtrl)
        return;
    pListCtrl->SetEditingEnabled(bEnable);
    pListCtrl->ModifyStyle(bEnable ? 0 : LVS_EDITLABELS, bEnable ? LVS_EDITLABELS : 0);
}

bool ListControl::IsEditingEnabled() const
{
    return pListCtrl && pListCtrl->IsEditingEnabled();
}

void ListControl::EditLabel(int nItem)
{
    if (!ValidItem(nItem) || !IsEditingEnabled())
        return;
    ::SetFocus(pListCtrl->m_hWnd);
    pListCtrl->EditLabel(nItem);
}

void ListControl::EnableKeyInput(bool bEnable)
{
    if (pListCtrl)
        pListCtrl->EnableKeyInput(bEnable);
}

void ListControl::EnableDelayedScrolling(bool bEnable)
{
    if (pListCtrl)
        pListCtrl->EnableDelayedScrolling(bEnable);
}

void ListControl::SetCustomDrawCells(bool bCustom)
{
    if (!pListCtrl)
        return;
    pListCtrl->SetCustomDrawCells(bCustom);
    ::InvalidateRect(pListCtrl->m_hWnd, nullptr, TRUE);
}

void ListControl::EnableToolTips(int nDelay)
{
    if (!pListCtrl)
        return;
    pListCtrl->SetExtendedStyle(pListCtrl->GetExtendedStyle() | LVS_EX_INFOTIP);
    if (HWND tips = reinterpret_cast<HWND>(::SendMessageA(pListCtrl->m_hWnd, LVM_GETTOOLTIPS, 0, 0)))
        ::SendMessageA(tips, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(std::max(nDelay, 0), 0));
}

void ListControl::DisableToolTips()
{
    if (pListCtrl)
        pListCtrl->SetExtendedStyle(pListCtrl->GetExtendedStyle() & ~DWORD(LVS_EX_INFOTIP));
}

// ------------------------------------------------------------ the application's operations

void ListControl::OnItemClick(int, int, unsigned int, bool) {}
void ListControl::OnItemRClick(int, int, unsigned int, bool, Point const &) {}
void ListControl::OnItemDoubleClick(int, unsigned int, bool) {}
void ListControl::OnColumnClick(int) {}
void ListControl::OnItemSelected(int) {}
void ListControl::OnEndLabelEdit(int, char *) {}
void ListControl::OnBeginDrag(int, Point const &) {}
void ListControl::OnKeyInput(char const *const) {}
void ListControl::OnPrePaint(HDC) {}
void ListControl::OnItemPrePaint(HDC, int) {}
void ListControl::OnPostPaint(HDC) {}
bool ListControl::OnCustomDrawCell(HDC, int, int, CRectangle const &, Color const &, bool) const
{
    return false;
}
void ListControl::OnCustomDrawText(HDC, int, int, SString const &, CRectangle const &, bool) {}
bool ListControl::HasCustomDrawText() const
{
    return false;
}
void ListControl::OnPushToolTip() {}
void ListControl::OnPopToolTip() {}
SString ListControl::GetToolTipText(int)
{
    return SString();
}

// The views' icon spacings; 0 leaves the platform's own.
int ListControl::GetSymbolsXSpacing() const
{
    return 0;
}
int ListControl::GetSymbolsYSpacing() const
{
    return 0;
}
int ListControl::GetSmallSymbolsXSpacing() const
{
    return 0;
}
int ListControl::GetSmallSymbolsYSpacing() const
{
    return 0;
}
int ListControl::GetTileXSpacing() const
{
    return Scaled(220, true);
}
int ListControl::GetTileYSpacing() const
{
    return Scaled(48, false);
}
