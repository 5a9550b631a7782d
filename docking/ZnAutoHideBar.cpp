#include "docking/ZnAutoHideBar.h"

#include <windows.h>

#include <algorithm>

#include "docking/DockGeometry.h"
#include "docking/ZnAutoHideButton.h"
#include "docking/ZnDockablePane.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"

IMPLEMENT_DYNCREATE(ZnAutoHideBar, ZnPane)

namespace {

int Scaled(int v)
{
    KSData const *data = GetPKSData();
    return data ? data->ScaleY(v) : v;
}

} // namespace

ZnAutoHideBar::ZnAutoHideBar() : m_pParentDockSite(nullptr), m_pHot(nullptr)
{
}

ZnAutoHideBar::~ZnAutoHideBar()
{
    for (ZnAutoHideButton *b : m_buttons)
        delete b;
}

int ZnAutoHideBar::GetBarThickness()
{
    return Scaled(24);
}

int ZnAutoHideBar::GetBarGap()
{
    return Scaled(8);
}

int ZnAutoHideBar::GetButtonGap()
{
    return Scaled(2);
}

bool ZnAutoHideBar::Create(CWnd *pParentWnd, unsigned long dwAlign)
{
    SetPaneAlignment(dwAlign);
    if (!pParentWnd || !pParentWnd->GetSafeHwnd())
        return true;
    static char const *const cls = RegisterDockingClass("Afx:AutoHideBar", nullptr);
    return CWnd::CreateEx(0, cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0), pParentWnd, 0);
}

ZnAutoHideButton *ZnAutoHideBar::AddAutoHideWindow(ZnDockablePane *pPane, unsigned long dwAlign)
{
    if (!pPane || FindButton(pPane))
        return nullptr;
    auto *b = new ZnAutoHideButton;
    b->Create(this, pPane, dwAlign);
    m_buttons.push_back(b);
    return b;
}

bool ZnAutoHideBar::RemoveAutoHideWindow(ZnDockablePane *pPane)
{
    auto it = std::find_if(m_buttons.begin(), m_buttons.end(),
                           [pPane](ZnAutoHideButton *b) { return b->GetAutoHideWindow() == pPane; });
    if (it == m_buttons.end())
        return false;
    if (*it == m_pHot)
        m_pHot = nullptr;
    delete *it;
    m_buttons.erase(it);
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return true;
}

ZnAutoHideButton *ZnAutoHideBar::FindButton(ZnDockablePane const *pPane) const
{
    for (ZnAutoHideButton *b : m_buttons)
        if (b->GetAutoHideWindow() == pPane)
            return b;
    return nullptr;
}

ZnDockablePane *ZnAutoHideBar::GetFirstAHWindow() const
{
    return m_buttons.empty() ? nullptr : m_buttons.front()->GetAutoHideWindow();
}

ZnAutoHideButton *ZnAutoHideBar::ButtonFromPoint(CPoint pt) const
{
    for (ZnAutoHideButton *b : m_buttons)
        if (b->IsVisible() && b->GetRect().PtInRect(pt))
            return b;
    return nullptr;
}

int ZnAutoHideBar::GetLength() const
{
    bool const horz = !DockGeometry::IsHorzAxis(GetCurrentAlignment());
    int len = 0;
    for (ZnAutoHideButton const *b : m_buttons) {
        if (!b->IsVisible())
            continue;
        CSize const s = b->GetSize();
        len += (len ? GetButtonGap() : 0) + (horz ? s.cx : s.cy);
    }
    return len;
}

void ZnAutoHideBar::LayoutButtons()
{
    // Buttons run along the bar from its start, one gap apart, and leave a
    // small margin on the side of the site so that the edge line shows.
    CRect const r = m_rectLayout;
    bool const horz = !DockGeometry::IsHorzAxis(GetCurrentAlignment());
    int const margin = Scaled(2);
    int at = 0;
    for (ZnAutoHideButton *b : m_buttons) {
        if (!b->IsVisible()) {
            b->SetRect(CRect());
            continue;
        }
        CSize const s = b->GetSize();
        int const len = horz ? s.cx : s.cy;
        CRect br;
        if (horz) {
            int const top = GetCurrentAlignment() == 0x2000 ? 0 : margin;
            br = CRect(at, top, at + len, top + std::max(0, int(r.Height()) - margin));
        } else {
            int const left = GetCurrentAlignment() == 0x1000 ? 0 : margin;
            br = CRect(left, at, left + std::max(0, int(r.Width()) - margin), at + len);
        }
        // What the bar cannot hold is cut off at its end.
        CRect clipped;
        if (!::IntersectRect(&clipped, &br, CRect(0, 0, r.Width(), r.Height())))
            clipped = CRect();
        b->SetRect(clipped);
        at += len + GetButtonGap();
    }
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void ZnAutoHideBar::OnPressButton(ZnAutoHideButton *pBtn)
{
    ZnDockablePane *pane = pBtn ? pBtn->GetAutoHideWindow() : nullptr;
    if (!pane)
        return;
    pane->Slide(!pane->IsSlidOut() || pane->IsSlidingIn(), true);
}

void ZnAutoHideBar::SetHot(ZnAutoHideButton *pBtn)
{
    if (pBtn == m_pHot)
        return;
    if (m_pHot)
        m_pHot->HighlightButton(false);
    m_pHot = pBtn;
    if (pBtn) {
        pBtn->HighlightButton(true);
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
    }
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT ZnAutoHideBar::WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnPressButton(ButtonFromPoint(CPoint(lParam)));
        return 0;
    case WM_MOUSEMOVE:
        SetHot(ButtonFromPoint(CPoint(lParam)));
        return 0;
    case WM_MOUSELEAVE:
        SetHot(nullptr);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        break;
    }
    return ZnPane::WindowProc(message, wParam, lParam);
}

void ZnAutoHideBar::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (dc) {
        CRect r;
        GetClientRect(&r);
        COLORREF const old = ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
        ::SetBkColor(dc, old);
        for (ZnAutoHideButton const *b : m_buttons)
            b->OnDraw(dc);
    }
    ::EndPaint(m_hWnd, &ps);
}
