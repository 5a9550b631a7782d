#pragma once
// The library's own docking host: a child window with a free-space window
// in the middle (the client area) and docked panes around it, with its own
// docking manager, reporting to its owner through callbacks.
#include <set>
#include <vector>

#include "docking/DockParentCallBacks.h"
#include "frame/Kestrel5Api.h"
#include "graphics/Point.h"
#include "mfc/AfxDocking.h"
#include "mfc/CWnd.h"
#include "text/SString.h"

class DockElement;
class DockParentWindow;
class ZnDockablePane;
class ZnDockingManager;
class ZnPaneContainer;
class ZnPaneDivider;

class KSAPI ZnDockParentWnd : public CWnd
{
    DECLARE_DYNAMIC(ZnDockParentWnd)
public:
    ZnDockParentWnd();
    ~ZnDockParentWnd() override;

    int OnCreate(CREATESTRUCTA *lpCreateStruct) override;
    void OnDestroy() override;

    void SetCallBacks(DockParentCallBacks const &callBacks) { m_aCallBacks = callBacks; }
    DockParentCallBacks const &GetCallBacks() const { return m_aCallBacks; }
    void SetPDockParentWindow(DockParentWindow *pWin) { m_pDockParentWindow = pWin; }
    DockParentWindow *GetPDockParentWindow() const { return m_pDockParentWindow; }
    // The window that fills what the docked panes leave; not owned.
    void SetPFreeSpaceWnd(CWnd *pWnd);
    CWnd *GetPFreeSpaceWnd() const { return m_pFreeSpaceWnd; }
    void SetInStartUp(bool bStartUp) { m_bInStartUp = bStartUp; }
    bool IsInStartUp() const { return m_bInStartUp; }
    ZnDockingManager *GetPDockingManager() const { return m_pDockingManager; }

    // The close button of a pane: the owner hears of it (link 3) and closes
    // the pane's docked window itself. Nothing for a pane without one.
    void PostClose(ZnDockablePane *pPane);
    void OnCaptionSetFocus(ZnDockablePane *pPane);
    void OnDeletePane(ZnDockablePane const *pPane);
    void OnPaneMenuClick(ZnDockablePane const *pPane, Point const &rPoint);
    void OnLayoutChange();
    void NotifyBeginResizes();
    bool CanClose(ZnDockablePane const *pPane) const;
    bool UserMayToggle(ZnDockablePane const *pPane) const;
    SString GetDockingMsg(int nCode) const;

    // --- floating
    // Called before a pane of this window leaves its docked place to float,
    // while it is still docked (dockMethod: what started it).
    void OnBeforeFloat(ZnDockablePane *pPane, AFX_DOCK_METHOD dockMethod);

    // One line each, for debugging.
    SString DumpPane(ZnDockablePane const *pPane) const;
    SString DumpContainer(ZnPaneContainer const *pContainer) const;
    SString DumpDivider(ZnPaneDivider const *pDivider) const;

protected:
    void OnSize(unsigned int nType, int cx, int cy) override;
    bool OnEraseBkgnd(HDC hDC) override;

private:
    ZnDockingManager *m_pDockingManager;
    DockParentWindow *m_pDockParentWindow;
    CWnd *m_pFreeSpaceWnd;
    std::vector<DockElement *> m_aCapturedLayout;
    std::set<ZnDockablePane *> m_aHiddenPanes;
    DockParentCallBacks m_aCallBacks;
    bool m_bInStartUp;
};
