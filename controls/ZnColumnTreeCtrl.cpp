#include "controls/ZnColumnTreeCtrl.h"

#include "controls/ColumnTreeControlData.h"
#include "controls/TreeControl.h"

#include <algorithm>
#include <cstring>

ZnColumnTreeCtrl::ZnColumnTreeCtrl(TreeControl *pTree) : ZnTreeCtrl(pTree), m_hHeader(nullptr) {}

ZnColumnTreeCtrl::~ZnColumnTreeCtrl()
{
    if (m_hHeader && ::IsWindow(m_hHeader))
        ::DestroyWindow(m_hHeader);
}

void ZnColumnTreeCtrl::ImpMakeHeader()
{
    if (m_hHeader || !m_hWnd)
        return;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    // Made as the tree's child, so that the header tells the tree of its
    // changes, then moved beside the tree: a child cannot show in the
    // strip of the tree's own frame that it stands on.
    m_hHeader = ::CreateWindowExA(0, WC_HEADERA, "", WS_CHILD | HDS_HORZ | HDS_FULLDRAG, 0, 0, 0, 0, m_hWnd, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (!m_hHeader)
        return;
    ::SendMessageA(m_hHeader, WM_SETFONT, ::SendMessageA(m_hWnd, WM_GETFONT, 0, 0), FALSE);
    ::SetParent(m_hHeader, ::GetParent(m_hWnd));
    // The strip for the header.
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ImpPlaceHeader();
}

int ZnColumnTreeCtrl::HeaderHeight() const
{
    if (!m_hHeader)
        return 0;
    RECT r{0, 0, 1000, 1000};
    WINDOWPOS pos{};
    HDLAYOUT layout{&r, &pos};
    return ::SendMessageA(m_hHeader, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)) ? pos.cy : 0;
}

void ZnColumnTreeCtrl::ImpPlaceHeader()
{
    if (!m_hHeader || !m_hWnd)
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    POINT corner{client.left, client.top};
    ::MapWindowPoints(m_hWnd, ::GetParent(m_hWnd), &corner, 1);
    int const h = HeaderHeight();
    bool const shown = (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
    ::SetWindowPos(m_hHeader, HWND_TOP, corner.x, corner.y - h, client.right - client.left, h,
                   SWP_NOACTIVATE | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

int ZnColumnTreeCtrl::InsertColumn(int nCol, char const *pTitle, int nWidth)
{
    ImpMakeHeader();
    if (!m_hHeader || nCol < 0 || nCol > GetColumnCount())
        return -1;
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.fmt = HDF_LEFT | HDF_STRING;
    item.cxy = nWidth;
    item.pszText = const_cast<char *>(pTitle ? pTitle : "");
    int const index = int(::SendMessageA(m_hHeader, HDM_INSERTITEMA, WPARAM(nCol), reinterpret_cast<LPARAM>(&item)));
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return index;
}

int ZnColumnTreeCtrl::GetColumnCount() const
{
    return m_hHeader ? std::max(int(::SendMessageA(m_hHeader, HDM_GETITEMCOUNT, 0, 0)), 0) : 0;
}

bool ZnColumnTreeCtrl::GetColumnExtent(int nCol, int &rLeft, int &rRight) const
{
    if (nCol < 0 || nCol >= GetColumnCount())
        return false;
    RECT r;
    if (!::SendMessageA(m_hHeader, HDM_GETITEMRECT, WPARAM(nCol), reinterpret_cast<LPARAM>(&r)))
        return false;
    rLeft = r.left;
    rRight = r.right;
    return true;
}

void ZnColumnTreeCtrl::ImpDrawColumns(NMTVCUSTOMDRAW const *pDraw)
{
    TreeControl *tree = GetTreeControl();
    auto *data = tree ? dynamic_cast<ColumnTreeControlData *>(tree->GetTreeControlData()) : nullptr;
    auto item = reinterpret_cast<HTREEITEM>(pDraw->nmcd.dwItemSpec);
    HDC dc = pDraw->nmcd.hdc;
    RECT row = pDraw->nmcd.rc;
    int const columns = GetColumnCount();
    int const oldMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF const oldInk = ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    for (int c = 1; c < columns; ++c) {
        int left = 0, right = 0;
        if (!GetColumnExtent(c, left, right))
            break;
        RECT cell{left, row.top, right, row.bottom};
        // The label of the first column may reach into this one: the cell
        // is cleared first.
        ::FillRect(dc, &cell, ::GetSysColorBrush(COLOR_WINDOW));
        if (!data)
            continue;
        SString const text = data->GetColumnText(item, c);
        if (!GetTreeControl())
            break; // the model deleted the tree
        cell.left += 6;
        cell.right -= 2;
        ::DrawTextA(dc, text.GetStr(), int(text.Len()), &cell,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    ::SetTextColor(dc, oldInk);
    ::SetBkMode(dc, oldMode);
}

bool ZnColumnTreeCtrl::OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult)
{
    auto const *hdr = reinterpret_cast<NMHDR const *>(lParam);
    if (message != WM_NOTIFY || hdr->code != NM_CUSTOMDRAW || GetColumnCount() < 2 || !GetTreeControl())
        return ZnTreeCtrl::OnChildNotify(message, wParam, lParam, pResult);
    auto const *draw = reinterpret_cast<NMTVCUSTOMDRAW const *>(lParam);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *pResult = CDRF_NOTIFYITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT:
        *pResult = CDRF_NOTIFYPOSTPAINT;
        break;
    case CDDS_ITEMPOSTPAINT:
        ++m_nDepth;
        ImpDrawColumns(draw);
        --m_nDepth;
        *pResult = CDRF_DODEFAULT;
        break;
    default:
        *pResult = CDRF_DODEFAULT;
    }
    return true;
}

bool ZnColumnTreeCtrl::OnNotify(WPARAM, LPARAM lParam, LRESULT *)
{
    // The header's changes of a column's width: the rows are drawn again.
    auto const *hdr = reinterpret_cast<NMHDR const *>(lParam);
    if (hdr && hdr->hwndFrom == m_hHeader &&
        (hdr->code == HDN_ITEMCHANGEDA || hdr->code == HDN_ITEMCHANGEDW || hdr->code == HDN_ENDTRACKA ||
         hdr->code == HDN_ENDTRACKW))
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return false;
}

LRESULT ZnColumnTreeCtrl::WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCALCSIZE && m_hHeader) {
        LRESULT const result = ZnTreeCtrl::WindowProc(message, wParam, lParam);
        RECT *client = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS *>(lParam)->rgrc[0] : reinterpret_cast<RECT *>(lParam);
        client->top = std::min(client->top + HeaderHeight(), client->bottom);
        return result;
    }
    if (message == WM_DESTROY && m_hHeader) {
        ::DestroyWindow(m_hHeader);
        m_hHeader = nullptr;
    }
    LRESULT const result = ZnTreeCtrl::WindowProc(message, wParam, lParam);
    if ((message == WM_WINDOWPOSCHANGED || message == WM_SHOWWINDOW || message == WM_STYLECHANGED) && m_hHeader &&
        m_hWnd)
        ImpPlaceHeader();
    return result;
}
