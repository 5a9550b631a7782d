#include "docking/ZnMultiPaneFrameWnd.h"

#include <windows.h>

#include <algorithm>

#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneContainer.h"
#include "docking/ZnPaneDivider.h"
#include "mfc/CObList.h"

IMPLEMENT_DYNCREATE(ZnMultiPaneFrameWnd, ZnPaneFrameWnd)

ZnMultiPaneFrameWnd::ZnMultiPaneFrameWnd() = default;

ZnMultiPaneFrameWnd::~ZnMultiPaneFrameWnd() = default;

bool ZnMultiPaneFrameWnd::Create(ZnDockingManager *pManager, CRect const &rectScreen)
{
    if (!ZnPaneFrameWnd::Create(pManager, rectScreen))
        return false;
    // Inner dividers become children of the frame's window.
    m_containerManager.Create(m_hWnd ? this : nullptr, nullptr);
    return true;
}

bool ZnMultiPaneFrameWnd::AddPane(ZnDockablePane *pPane)
{
    if (!pPane || ContainsPane(pPane))
        return false;
    bool ok;
    if (m_containerManager.IsEmpty()) {
        ok = m_containerManager.AddPane(pPane);
    } else {
        ZnPaneContainerManager holder;
        holder.Create(m_containerManager.GetDockSite(), nullptr);
        holder.AddPane(pPane);
        ok = m_containerManager.AddPaneContainer(nullptr, holder, 0x4000);
    }
    if (!ok)
        return false;
    AttachPane(pPane);
    AdoptDividers();
    UpdatePaneCaptions();
    return true;
}

bool ZnMultiPaneFrameWnd::InsertPane(ZnDockablePane *pPane, ZnDockablePane *pTarget, unsigned long dwAlign)
{
    if (!pPane || !pTarget || pPane == pTarget || ContainsPane(pPane) || !ContainsPane(pTarget))
        return false;
    if (!m_containerManager.InsertPane(pPane, pTarget, dwAlign))
        return false;
    AttachPane(pPane);
    AdoptDividers();
    UpdatePaneCaptions();
    return true;
}

bool ZnMultiPaneFrameWnd::RemovePane(ZnDockablePane *pPane)
{
    if (!pPane || !m_containerManager.RemovePane(pPane))
        return false;
    m_containerManager.ReleaseEmptyPaneContainers();
    DetachPane(pPane);
    return true;
}

void ZnMultiPaneFrameWnd::GetPanes(std::vector<ZnDockablePane *> &panes) const
{
    CObList lst;
    m_containerManager.GetPanes(lst);
    for (POSITION pos = lst.GetHeadPosition(); pos;)
        panes.push_back(static_cast<ZnDockablePane *>(lst.GetNext(pos)));
}

int ZnMultiPaneFrameWnd::GetPaneCount() const
{
    return m_containerManager.GetPaneCount();
}

bool ZnMultiPaneFrameWnd::HasVisiblePane() const
{
    return m_containerManager.HasVisiblePane();
}

CSize ZnMultiPaneFrameWnd::GetMinFrameSize() const
{
    CSize const own = ZnPaneFrameWnd::GetMinFrameSize();
    CSize const tree = m_containerManager.GetMinSize();
    int const b = GetBorderSize();
    return CSize(std::max<int>(own.cx, tree.cx + 2 * b), std::max<int>(own.cy, tree.cy + 2 * b + GetCaptionHeight()));
}

SString ZnMultiPaneFrameWnd::GetCaptionText() const
{
    // The panes' texts, in the tree's order.
    std::vector<ZnDockablePane *> panes;
    GetPanes(panes);
    SString text;
    for (ZnDockablePane *p : panes) {
        if (!p->IsPaneVisible())
            continue;
        if (text.Len())
            text += ", ";
        text += p->GetWindowText();
    }
    return text;
}

void ZnMultiPaneFrameWnd::AdoptDividers()
{
    CObList lst;
    m_containerManager.GetPaneDividers(lst);
    for (POSITION pos = lst.GetHeadPosition(); pos;)
        static_cast<ZnPaneDivider *>(lst.GetNext(pos))->SetDockingManager(m_pDockManager);
}

void ZnMultiPaneFrameWnd::CalcLayout()
{
    if (!m_containerManager.IsEmpty())
        m_containerManager.Layout(GetFrameClientRect());
}

void ZnMultiPaneFrameWnd::ApplyLayout()
{
    if (m_hWnd) {
        // Panes and dividers in one batch, then visibility (as the site does).
        std::vector<ZnBasePane *> all;
        std::vector<ZnDockablePane *> panes;
        GetPanes(panes);
        all.assign(panes.begin(), panes.end());
        CObList lst;
        m_containerManager.GetPaneDividers(lst);
        for (POSITION pos = lst.GetHeadPosition(); pos;)
            all.push_back(static_cast<ZnPaneDivider *>(lst.GetNext(pos)));
        std::vector<ZnBasePane *> moves;
        for (ZnBasePane *w : all) {
            HWND const h = w->GetSafeHwnd();
            if (!h || ::GetParent(h) != m_hWnd)
                continue;
            CRect now;
            ::GetWindowRect(h, &now);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT *>(&now), 2);
            if (now != w->GetLayoutRect())
                moves.push_back(w);
        }
        if (!moves.empty()) {
            HDWP hdwp = ::BeginDeferWindowPos(int(std::max<size_t>(moves.size(), 50)));
            for (ZnBasePane *w : moves) {
                CRect const r = w->GetLayoutRect();
                if (hdwp)
                    hdwp = ::DeferWindowPos(hdwp, w->GetSafeHwnd(), nullptr, r.left, r.top, std::max<LONG>(0, r.Width()),
                                            std::max<LONG>(0, r.Height()), SWP_NOZORDER | SWP_NOACTIVATE);
            }
            if (hdwp)
                ::EndDeferWindowPos(hdwp);
        }
        for (ZnBasePane *w : all) {
            HWND const h = w->GetSafeHwnd();
            if (!h || ::GetParent(h) != m_hWnd)
                continue;
            bool const vis = (::GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0;
            if (vis != w->IsPaneVisible())
                ::ShowWindow(h, w->IsPaneVisible() ? SW_SHOWNOACTIVATE : SW_HIDE);
        }
    }
    ApplyVisibility();
}
