#include "mfc/CMFCBaseTabCtrl.h"

#include <windows.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CMFCBaseTabCtrl, CWnd)

namespace {

// The strip measures and draws with the stock GUI font: nothing to own.
HFONT TabFont()
{
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

class WindowDC
{
public:
    explicit WindowDC(HWND h) : m_hWnd(h), m_hDC(::GetDC(h)) {}
    ~WindowDC()
    {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    WindowDC(WindowDC const &) = delete;
    WindowDC &operator=(WindowDC const &) = delete;
    HDC Get() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

class PaintDC
{
public:
    explicit PaintDC(HWND h) : m_hWnd(h), m_hDC(::BeginPaint(h, &m_ps)) {}
    ~PaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    PaintDC(PaintDC const &) = delete;
    PaintDC &operator=(PaintDC const &) = delete;
    HDC Get() const { return m_hDC; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
    HDC m_hDC;
};

LPARAM PackScreenPoint(HWND h, LPARAM lParam)
{
    POINT pt{short(LOWORD(lParam)), short(HIWORD(lParam))};
    ::ClientToScreen(h, &pt);
    return MAKELPARAM(short(pt.x), short(pt.y));
}

} // namespace

unsigned int CMFCBaseTabCtrl::GetWmChangeActiveTab()
{
    static unsigned int const msg = ::RegisterWindowMessageA("AFX_WM_CHANGE_ACTIVE_TAB");
    return msg;
}

unsigned int CMFCBaseTabCtrl::GetWmTabPress()
{
    static unsigned int const msg = ::RegisterWindowMessageA("KS_WM_TAB_PRESS");
    return msg;
}

unsigned int CMFCBaseTabCtrl::GetWmTabDblClk()
{
    static unsigned int const msg = ::RegisterWindowMessageA("KS_WM_TAB_DBLCLK");
    return msg;
}

int CMFCBaseTabCtrl::GetTabsHeight()
{
    TEXTMETRICA tm{};
    HDC dc = ::GetDC(nullptr);
    if (dc) {
        HGDIOBJ old = ::SelectObject(dc, TabFont());
        ::GetTextMetricsA(dc, &tm);
        ::SelectObject(dc, old);
        ::ReleaseDC(nullptr, dc);
    }
    return std::max<int>(16, tm.tmHeight + 8);
}

bool CMFCBaseTabCtrl::InsertTab(CWnd *pTabWnd, char const *lpszTabLabel, int nInsertAt)
{
    if (!pTabWnd || GetTabFromHwnd(pTabWnd->GetSafeHwnd()) >= 0)
        return false;
    for (Tab const &t : m_tabs)
        if (t.pWnd == pTabWnd)
            return false;
    int const at = std::clamp(nInsertAt, 0, GetTabsNum());
    m_tabs.insert(m_tabs.begin() + at, Tab{pTabWnd, CString(lpszTabLabel), CRect()});
    if (m_iActiveTab < 0)
        m_iActiveTab = 0;
    else if (at <= m_iActiveTab)
        ++m_iActiveTab;
    RecalcTabs();
    return true;
}

bool CMFCBaseTabCtrl::RemoveTab(int iTab)
{
    if (iTab < 0 || iTab >= GetTabsNum())
        return false;
    m_tabs.erase(m_tabs.begin() + iTab);
    if (m_tabs.empty())
        m_iActiveTab = -1;
    else if (iTab < m_iActiveTab || m_iActiveTab >= GetTabsNum())
        --m_iActiveTab;
    RecalcTabs();
    return true;
}

void CMFCBaseTabCtrl::RemoveAllTabs()
{
    m_tabs.clear();
    m_iActiveTab = -1;
    RecalcTabs();
}

CWnd *CMFCBaseTabCtrl::GetTabWnd(int iTab) const
{
    return iTab >= 0 && iTab < GetTabsNum() ? m_tabs[size_t(iTab)].pWnd : nullptr;
}

int CMFCBaseTabCtrl::GetTabFromHwnd(HWND hWnd) const
{
    if (!hWnd)
        return -1;
    for (int i = 0; i < GetTabsNum(); ++i)
        if (m_tabs[size_t(i)].pWnd->GetSafeHwnd() == hWnd)
            return i;
    return -1;
}

bool CMFCBaseTabCtrl::GetTabLabel(int iTab, CString &strLabel) const
{
    if (iTab < 0 || iTab >= GetTabsNum())
        return false;
    strLabel = m_tabs[size_t(iTab)].label;
    return true;
}

bool CMFCBaseTabCtrl::SetTabLabel(int iTab, char const *lpszLabel)
{
    if (iTab < 0 || iTab >= GetTabsNum())
        return false;
    m_tabs[size_t(iTab)].label = CString(lpszLabel);
    RecalcTabs();
    return true;
}

bool CMFCBaseTabCtrl::SetActiveTab(int iTab)
{
    if (iTab < 0 || iTab >= GetTabsNum())
        return false;
    if (iTab == m_iActiveTab)
        return true;
    m_iActiveTab = iTab;
    Redraw();
    if (HWND parent = m_hWnd ? ::GetParent(m_hWnd) : nullptr)
        ::SendMessageA(parent, GetWmChangeActiveTab(), WPARAM(iTab), 0);
    return true;
}

void CMFCBaseTabCtrl::SetLocation(Location location)
{
    m_location = location;
    RecalcTabs();
}

bool CMFCBaseTabCtrl::GetTabRect(int iTab, CRect &rect) const
{
    if (iTab < 0 || iTab >= GetTabsNum()) {
        rect = CRect();
        return false;
    }
    rect = m_tabs[size_t(iTab)].rect;
    return true;
}

int CMFCBaseTabCtrl::GetTabFromPoint(CPoint const &pt) const
{
    for (int i = 0; i < GetTabsNum(); ++i)
        if (m_tabs[size_t(i)].rect.PtInRect(pt))
            return i;
    return -1;
}

void CMFCBaseTabCtrl::RecalcTabs()
{
    CRect client;
    if (m_hWnd)
        GetClientRect(&client);
    int const n = GetTabsNum();
    if (n == 0) {
        Redraw();
        return;
    }
    // Each tab as wide as its text wants; all shrink alike when the strip
    // is too short for them.
    std::vector<int> widths(size_t(n), 60);
    if (m_hWnd) {
        WindowDC dc(m_hWnd);
        if (dc.Get()) {
            HGDIOBJ old = ::SelectObject(dc.Get(), TabFont());
            for (int i = 0; i < n; ++i) {
                SIZE sz{};
                CString const &s = m_tabs[size_t(i)].label;
                ::GetTextExtentPoint32A(dc.Get(), s.GetString(), s.GetLength(), &sz);
                widths[size_t(i)] = std::max<int>(24, sz.cx + 16);
            }
            ::SelectObject(dc.Get(), old);
        }
    }
    long long total = 0;
    for (int w : widths)
        total += w;
    int const room = std::max<int>(0, client.Width() - 4);
    int x = client.left + 2;
    for (int i = 0; i < n; ++i) {
        int w = widths[size_t(i)];
        if (total > room)
            w = int(room * (long long)w / std::max<long long>(1, total));
        int const top = m_location == LOCATION_TOP ? client.top + 2 : client.top;
        int const bottom = m_location == LOCATION_TOP ? client.bottom : client.bottom - 2;
        m_tabs[size_t(i)].rect = CRect(x, top, x + w, std::max(top, bottom));
        x += w;
    }
    Redraw();
}

void CMFCBaseTabCtrl::Redraw()
{
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CMFCBaseTabCtrl::OnSize(unsigned int, int, int)
{
    RecalcTabs();
}

bool CMFCBaseTabCtrl::OnEraseBkgnd(HDC)
{
    return true; // OnPaint covers every pixel
}

void CMFCBaseTabCtrl::OnPaint()
{
    PaintDC pdc(m_hWnd);
    HDC dc = pdc.Get();
    if (!dc)
        return;
    CRect client;
    GetClientRect(&client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    // The line that joins the strip to the content, broken by the active tab.
    HPEN const shadow = static_cast<HPEN>(::GetStockObject(BLACK_PEN));
    HGDIOBJ const oldPen = ::SelectObject(dc, shadow);
    int const edge = m_location == LOCATION_TOP ? client.bottom - 1 : client.top;
    ::MoveToEx(dc, client.left, edge, nullptr);
    ::LineTo(dc, client.right, edge);
    HGDIOBJ const oldFont = ::SelectObject(dc, TabFont());
    ::SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < GetTabsNum(); ++i) {
        Tab const &t = m_tabs[size_t(i)];
        CRect r = t.rect;
        bool const active = i == m_iActiveTab;
        ::FillRect(dc, &r, ::GetSysColorBrush(active ? COLOR_WINDOW : COLOR_BTNFACE));
        // Three sides drawn; the side towards the content stays open on the
        // active tab.
        int const outer = m_location == LOCATION_TOP ? r.top : r.bottom - 1;
        ::MoveToEx(dc, r.left, m_location == LOCATION_TOP ? r.bottom - 1 : r.top, nullptr);
        ::LineTo(dc, r.left, outer);
        ::LineTo(dc, r.right - 1, outer);
        ::LineTo(dc, r.right - 1, m_location == LOCATION_TOP ? r.bottom - 1 : r.top - 1);
        if (active) {
            HGDIOBJ const p = ::SelectObject(dc, ::GetStockObject(WHITE_PEN));
            ::MoveToEx(dc, r.left + 1, edge, nullptr);
            ::LineTo(dc, r.right - 1, edge);
            ::SelectObject(dc, p);
        }
        ::SetTextColor(dc, ::GetSysColor(active ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        CRect text = r;
        text.DeflateRect(4, 0);
        ::DrawTextA(dc, t.label.GetString(), t.label.GetLength(), &text,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    ::SelectObject(dc, oldFont);
    ::SelectObject(dc, oldPen);
}

LRESULT CMFCBaseTabCtrl::WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        int const tab = GetTabFromPoint(CPoint(short(LOWORD(lParam)), short(HIWORD(lParam))));
        if (tab < 0)
            return 0;
        HWND const parent = ::GetParent(m_hWnd);
        LPARAM const pt = PackScreenPoint(m_hWnd, lParam);
        if (message == WM_LBUTTONDOWN) {
            SetActiveTab(tab);
            // Last: the parent may drag the tab away and end this strip.
            ::SendMessageA(parent, GetWmTabPress(), WPARAM(tab), pt);
        } else {
            ::SendMessageA(parent, GetWmTabDblClk(), WPARAM(tab), pt);
        }
        return 0;
    }
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
