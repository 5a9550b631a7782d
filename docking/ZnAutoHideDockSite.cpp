#include "docking/ZnAutoHideDockSite.h"

#include <windows.h>

#include <algorithm>

#include "docking/DockGeometry.h"
#include "docking/ZnAutoHideBar.h"

IMPLEMENT_DYNCREATE(ZnAutoHideDockSite, ZnDockSite)

ZnAutoHideDockSite::~ZnAutoHideDockSite()
{
    for (ZnAutoHideBar *b : m_bars) {
        if (b->GetSafeHwnd())
            b->DestroyWindow();
        delete b;
    }
}

int ZnAutoHideDockSite::GetThickness() const
{
    // An empty bar never stays, but its buttons may all be hidden.
    for (ZnAutoHideBar const *b : m_bars)
        if (b->GetLength() > 0)
            return ZnAutoHideBar::GetBarThickness();
    return 0;
}

void ZnAutoHideDockSite::AddAutoHideBar(ZnAutoHideBar *pBar)
{
    if (pBar && std::find(m_bars.begin(), m_bars.end(), pBar) == m_bars.end()) {
        m_bars.push_back(pBar);
        pBar->SetParentDockSite(this);
    }
}

bool ZnAutoHideDockSite::RemoveAutoHideBar(ZnAutoHideBar *pBar)
{
    auto it = std::find(m_bars.begin(), m_bars.end(), pBar);
    if (it == m_bars.end())
        return false;
    m_bars.erase(it);
    pBar->SetParentDockSite(nullptr);
    return true;
}

void ZnAutoHideDockSite::LayoutBars()
{
    CRect const r = m_rectLayout;
    bool const alongX = !DockGeometry::IsHorzAxis(GetCurrentAlignment());
    int at = alongX ? r.left : r.top;
    int const end = alongX ? r.right : r.bottom;
    SetPaneVisibleFlag(GetThickness() > 0 && !r.IsRectEmpty());
    for (ZnAutoHideBar *b : m_bars) {
        int const len = std::max(0, std::min(b->GetLength(), end - at));
        CRect br = alongX ? CRect(at, r.top, at + len, r.bottom) : CRect(r.left, at, r.right, at + len);
        if (len <= 0 || r.IsRectEmpty())
            br = CRect();
        b->SetLayoutRect(br);
        b->SetPaneVisibleFlag(!br.IsRectEmpty());
        b->LayoutButtons();
        if (len > 0)
            at = std::min(end, at + len + ZnAutoHideBar::GetBarGap());
    }
}

bool ZnAutoHideDockSite::OnEraseBkgnd(HDC hDC)
{
    CRect r;
    GetClientRect(&r);
    COLORREF const old = ::SetBkColor(hDC, ::GetSysColor(COLOR_BTNFACE));
    ::ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(hDC, old);
    return true;
}
