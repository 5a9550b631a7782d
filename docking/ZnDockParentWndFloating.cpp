// The dock parent window's part in floating.
#include "docking/ZnDockParentWnd.h"

#include "docking/ZnDockablePane.h"

void ZnDockParentWnd::OnBeforeFloat(ZnDockablePane *pPane, AFX_DOCK_METHOD)
{
    // The owner hears of panes it knows (those with a docked window) and
    // not while the layout is being built at start-up. The position the
    // pane will return to is recorded by the positions code before this.
    if (!pPane || !pPane->GetPDockedWin() || m_bInStartUp)
        return;
    m_aCallBacks.aBeforeFloatHdl.Call(pPane);
}
