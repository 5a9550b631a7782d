// The dock parent window's part in floating.
#include "docking/ZnDockParentWnd.h"

#include <algorithm>
#include <map>
#include <vector>

#include "docking/ZnDockablePane.h"
#include "docking/ZnDockingGesture.h"
#include "docking/ZnDockingManager.h"
#include "docking/ZnPaneFrameWnd.h"

void ZnDockParentWnd::OnBeforeFloat(ZnDockablePane *pPane, AFX_DOCK_METHOD dockMethod)
{
    // The owner hears of panes it knows (those with a docked window) and
    // not while the layout is being built at start-up.
    if (!pPane || !pPane->GetPDockedWin() || m_bInStartUp)
        return;
    // The place the pane leaves, taken while it is still there, is where a
    // double-click brings it back.
    DockPosition position;
    FillDockPosition(pPane, position, true);
    // A double-click floats where the owner says, when it says so.
    if (dockMethod == DM_DBL_CLICK && m_aCallBacks.aAcceptFloatRectHdl.IsSet() &&
        m_aCallBacks.aAcceptFloatRectHdl.Call(&position) != 0)
        pPane->SetRectRecentFloat(position.GetRectRecentFloat());
    pPane->SetRecentDockPosition(position);
    m_aCallBacks.aBeforeFloatHdl.Call(pPane);
}

void ZnDockParentWnd::FloatAll()
{
    if (!m_pDockingManager)
        return;
    ZnDockingGesture gesture(m_pDockingManager);
    // Each frame gets the pane's last floating rectangle; a pane that never
    // floated gets its docked size, cascaded from the site's top left by a
    // caption's height per pane so that every caption stays in reach.
    std::map<ZnDockablePane *, CRect> sizes;
    std::vector<ZnDockablePane *> all;
    m_pDockingManager->FillDockablePaneVec(all);
    for (ZnDockablePane *p : all)
        if (p->GetSafeHwnd()) {
            CRect r;
            ::GetWindowRect(p->GetSafeHwnd(), &r);
            sizes[p] = r;
        }
    CRect site;
    GetWindowRect(&site);
    std::vector<ZnDockablePane *> const panes = UndockAllPanes();
    int const step = ZnPaneFrameWnd::GetCaptionHeight() + 2 * ZnPaneFrameWnd::GetBorderSize();
    int n = 0;
    for (ZnDockablePane *p : panes) {
        if (m_aHiddenPanes.count(p))
            continue;
        CRect r = p->GetFloatRect();
        CRectangle const &recent = p->GetRectRecentFloat();
        bool const floated = recent.Right() != RECT_EMPTY && recent.Bottom() != RECT_EMPTY &&
                             recent.Right() - recent.Left() >= 10 && recent.Bottom() - recent.Top() >= 10;
        if (!floated) {
            CRect const had = sizes.count(p) ? sizes[p] : CRect(0, 0, 200, 150);
            int const w = std::clamp(int(had.Width()), 80, std::max(80, int(site.Width()) / 2));
            int const h = std::clamp(int(had.Height()), 60, std::max(60, int(site.Height()) / 2));
            r = CRect(site.left + step * (n + 1), site.top + step * (n + 1), 0, 0);
            r.right = r.left + w;
            r.bottom = r.top + h;
            ++n;
        }
        p->FloatPane(r, DM_SHOW, true);
    }
    m_pDockingManager->OnLayoutChange();
    GetDockPositions();
}
