#pragma once
// The library's own docking host: a child window with a free-space window
// in the middle (the client area) and docked panes around it, with its own
// docking manager, reporting to its owner through callbacks.
#include <set>
#include <vector>

#include "docking/DockParentCallBacks.h"
#include "docking/DockPosition.h"
#include "docking/NeighbourType.h"
#include "graphics/CRectangle.h"
#include "frame/Kestrel5Api.h"
#include "graphics/Point.h"
#include "mfc/AfxDocking.h"
#include "mfc/CWnd.h"
#include "text/SString.h"

class DockElement;
class DockParentWindow;
class HolderElement;
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

    // --- auto-hide
    // Takes a pinned-off pane out of auto-hide (animated) for showing it,
    // then lays out and reports a layout change; false, and nothing
    // happens, for a pane that is not pinned off.
    bool ShowAutoHiddenPane(ZnDockablePane *pPane);
    // Takes every pinned-off pane out of auto-hide, without animation, and
    // answers them (a layout capture puts them back with AutoHideFromExtern).
    std::vector<ZnDockablePane *> UnAutoHideAllPanes();

    // --- Layout capture and apply, dock positions, hiding and showing panes
    // (ZnDockParentWndLayout.cpp). A captured model names panes by pointer;
    // the window keeps one model of its own (SaveState() / LoadState()).
    // Capture: the free space first, then one root per docked group (a
    // holder for a group of several shown panes), the hidden panes last
    // with the positions they return to. Closed panes are not captured.
    void SaveState();
    void SaveState(std::vector<DockElement *> &elements);
    // Applies the window's own model (or a caller's, which stays the
    // caller's) inside one docking gesture: the windows move once and the
    // owner hears of one layout change. False when a pane of the model had
    // to be placed by the emergency placement or the model names a pane
    // that is not one of this window's.
    bool LoadState();
    bool LoadState(std::vector<DockElement *> const &elements);
    std::vector<DockElement *> const &GetCapturedLayout() const { return m_aCapturedLayout; }
    void FillDockPosition(ZnDockablePane *pPane, DockPosition &position, bool bIncludePane);
    void DockWithPosition(ZnDockablePane *pPane, DockPosition const &position);
    bool RemovePane(ZnDockablePane *pPane, DockPosition &position, bool bFill);
    bool HidePane(ZnDockablePane *pPane, DockPosition &position, bool bFill);
    void ShowPane(ZnDockablePane *pPane, DockPosition const &position);
    void SaveRecentFloatingState(ZnDockablePane *pPane, CRectangle const &rect);
    // Every docked pane's position from one capture; each pane keeps its own
    // as its recent position.
    std::vector<DockPosition> GetDockPositions();
    void DockAll();
    // Every pane shown floats in a frame of its own: at its last floating
    // rectangle, or cascaded at its docked size.
    void FloatAll();
    // The panes taken out of their groups, hidden until docked again.
    std::vector<ZnDockablePane *> UndockAllPanes();
    // The panes hidden by HidePane (or a loaded layout) and not docked again
    // since, by any means.
    std::set<ZnDockablePane *> GetHiddenPanes() const;
    // A pane that belongs to this window and shows in one of its groups.
    bool IsDockedHere(ZnDockablePane const *pPane) const;

protected:
    bool ImplementLayout(std::vector<DockElement *> const &elements);
    bool HasAllNeighbours(DockElement const *pEl, std::set<SString> const &docked, NeighbourType type) const;
    bool TryDock(DockElement *pEl, std::set<SString> &docked);
    void DockEmergency(ZnDockablePane *pPane);
    bool DockHeuristic(ZnDockablePane *pPane, DockPosition const &position);
    // How far docking pPane at side align with length len is from the size
    // the position wants; negative when that side cannot take it.
    double EvaluateDockTry(DockPosition const &position, unsigned long align, int len) const;
    static double GetAspectError(Size const &wanted, Size const &got);
    bool ProcessDeeperHolderForPane(HolderElement *pHolder, std::vector<DockElement *> const &elements) const;
    static void RemoveOrphanHolders(std::vector<DockElement *> &elements);
    static void MergeOrphanPanes(std::vector<DockElement *> &elements);
    static void MergeParallelNeighbours(std::vector<DockElement *> &elements);
    void PruneHiddenPanes();

public:
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
