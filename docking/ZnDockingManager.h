#pragma once
// The docking state of one dock site window (a frame or a dock parent
// window): its panes, groups and dock sites, the layout of the docked panes
// around the client area, and the process-wide registry of managers.
//
// Every operation runs in one gesture (ZnDockingGesture): whatever it
// changes, the layout is computed as often as the operation needs it, the
// windows are moved once in one batch when the outermost gesture ends, and
// the site hears of the change once. Class-wide hooks run before and after
// each outermost gesture, for checkers and, later, undo.
#include <map>
#include <vector>

#include "docking/ZnDockingGesture.h"
#include "frame/Kestrel5Api.h"
#include "frame/Link.h"
#include "mfc/AfxDocking.h"
#include "mfc/CFrameWnd.h"
#include "mfc/CObList.h"
#include "mfc/CObject.h"
#include "mfc/CPoint.h"
#include "mfc/CRect.h"
#include "text/SString.h"

class CArchive;
class CFrameWnd;
class CWnd;
class DockPosition;
class ZnAutoHideBar;
class ZnAutoHideDockSite;
class ZnBasePane;
class ZnDockablePane;
class ZnDockParentWnd;
class ZnDockSite;
class ZnPane;
class ZnPaneDivider;
class ZnPaneFrameWnd;

class KSAPI ZnDockingManager : public CObject, public CFrameDockingHost
{
    DECLARE_DYNAMIC(ZnDockingManager)
public:
    // While a layout is built again or applied, docking moves no focus.
    class RestoringScope
    {
    public:
        RestoringScope() : m_nOld(m_bRestoringDockState) { m_bRestoringDockState = 1; }
        ~RestoringScope() { m_bRestoringDockState = m_nOld; }
        RestoringScope(RestoringScope const &) = delete;
        RestoringScope &operator=(RestoringScope const &) = delete;

    private:
        int m_nOld;
    };

    ZnDockingManager();
    ~ZnDockingManager() override;
    ZnDockingManager(ZnDockingManager const &) = delete;
    ZnDockingManager &operator=(ZnDockingManager const &) = delete;

    // --- the registry of managers, by frame
    static void RegisterDockingManager(CFrameWnd *pFrame, ZnDockingManager *pManager);
    static std::vector<ZnDockablePane *> UnregisterDockingManager(ZnDockingManager *pManager);
    static ZnDockingManager *GetPDockingManager(CWnd const *pWnd);

    // --- class-wide settings
    static int m_nTimeOutBeforeToolBarDock;
    static int m_nTimeOutBeforeDockingBarDock;
    static int m_ahSlideModeGlobal;
    static int m_nDockSensitivity;
    static int m_bHideDockingBarsInContainerMode;
    static AFX_DOCK_TYPE m_dockModeGlobal;
    static int m_bRestoringDockState;
    static int m_bSavingState;
    static int m_bDisableRecalcLayout;
    static int m_bFullScreenMode;
    static int m_bIgnoreEnabledAlignment;
    static int m_bDockBarMenu;
    static CRuntimeClass const *m_pAutoHideToolbarRTC;
    static AFX_DOCK_TYPE GetDockingMode() { return m_dockModeGlobal; }
    static void SetDockingMode(AFX_DOCK_TYPE type) { m_dockModeGlobal = type; }

    // Registered window messages of the docking classes.
    static unsigned int GetWmOnPressCloseButton();
    static unsigned int GetWmCheckEmptyMiniFrame();
    static unsigned int GetWmChangeVisualManager();

    // Hooks around every outermost gesture of every manager; the argument is
    // the manager.
    static void SetGestureHdls(Link const &before, Link const &after);

    // --- set-up
    // Takes pParentWnd as the dock site; a frame is registered and lays its
    // docked panes out before its view from then on.
    virtual bool Create(CWnd *pParentWnd);
    CWnd *GetDockSiteWnd() const { return m_pParentWnd; }
    // The site as a dock parent window, or null.
    ZnDockParentWnd *GetDockParentWnd() const;
    // The site's client rectangle for a site without a window: the
    // arithmetic runs on it when there is nothing to measure.
    void SetDockSiteRect(CRect const &rect);
    CRect GetDockSiteRect() const;

    bool EnableDocking(unsigned long dwDockStyle);
    unsigned long GetEnabledAlignment() const { return m_dwEnabledDockBars; }
    bool IsValidAlign(unsigned long dwAlign) const;
    bool AddDockSite(AFX_DOCKSITE_INFO const &info, ZnDockSite **ppDockBar = nullptr);
    bool InsertDockSite(AFX_DOCKSITE_INFO const &info, unsigned long dwAlignToInsertAfter,
                        ZnDockSite **ppDockBar = nullptr);
    ZnDockSite *FindDockSite(unsigned long dwAlignment, bool bOuter) const;
    CObList const &GetDockSiteList() const { return m_lstDockSites; }

    // --- panes
    bool AddPane(ZnBasePane *pWnd, bool bTail = true, bool bAutoHide = false, bool bInsertForOuterEdge = false);
    bool InsertPane(ZnBasePane *pControlBar, ZnBasePane *pTarget, bool bAfter = true);
    void RemovePaneFromDockManager(ZnBasePane *pWnd, bool bDestroy = false, bool bAdjustLayout = false,
                                   bool bAutoHide = false, ZnBasePane *pBarReplacement = nullptr);
    void GetPaneList(CObList &lstBars, bool bIncludeAutohide = false, CRuntimeClass const *pRTCFilter = nullptr,
                     bool bIncludeTabs = false) const;
    CObList const &GetPaneListRef() const { return m_lstControlBars; }
    ZnBasePane *FindPaneByID(unsigned int uBarID, bool bSearchMiniFrames = false) const;
    // Registered panes and the panes of the groups; not the placeholders
    // that keep the places of pinned-off panes.
    void FillDockablePaneVec(std::vector<ZnDockablePane *> &panes) const;
    bool ReplacePane(ZnDockablePane *pOriginalBar, ZnDockablePane *pNewBar);
    // The groups docked to the site, outermost first.
    std::vector<ZnPaneDivider *> GetDefaultDividers() const;

    // --- docking
    bool DockIntoParent(ZnDockablePane *pPane, unsigned long align, int len, bool bAddToManager);
    bool DockIntoPane(ZnDockablePane *pPane, ZnDockablePane *pTarget, unsigned long align, int len);
    // Frame docking: to a side by the side's dock-site identifier
    // (AFX_IDW_DOCKBAR_LEFT …) or any side the pane allows.
    void DockPane(ZnBasePane *pBar, unsigned int nDockBarID = 0, RECT const *lpRect = nullptr);
    bool DockPaneLeftOf(ZnPane *pBarToDock, ZnPane *pTargetBar);
    // A group's registration: the layout walks the groups in this order.
    void AddDefaultDivider(ZnPaneDivider *pDivider, bool bOuterEdge);
    void RemoveDefaultDivider(ZnPaneDivider *pDivider);

    // --- layout
    virtual void RecalcLayout(bool bNotify = true, void *pContext = nullptr);
    virtual void AdjustDockingLayout(void *hdwp = nullptr);
    // Moves the windows to the layout computed inside the current gesture
    // now, not when it ends (a live drag shows every step).
    void ApplyPendingLayout();
    void ForceAdjustLayout(bool bForce = false, bool bEvenIfHidden = false);
    CRect GetClientAreaBounds() const { return m_rectClientAreaBounds; }
    CRect GetOuterEdgeBounds() const { return m_rectOuterEdgeBounds; }
    int GetMinClientAreaWidth() const { return 60; }
    int GetMinClientAreaHeight() const { return 60; }
    // Fits rectWnd to the client area on side dwAlignment.
    virtual bool AdjustRectToClientArea(CRect &rectWnd, unsigned long dwAlignment);
    bool IsPointNearDockSite(CPoint point, unsigned long &dwBarAlignment, bool &bOuterEdge) const;
    bool IsInAdjustLayout() const { return m_bIsInAdjustLayout; }
    void LockUpdate(bool bLock);
    bool IsUpdateLocked() const { return m_bLockUpdate; }
    void ReleaseEmptyPaneContainers();

    // --- notices
    void NotifyStandBy();
    void NotifyWakeUp();
    void NotifyBeginResizes();
    void OnLayoutChange();

    // --- gestures: see ZnDockingGesture
    void BeginGesture();
    void EndGesture();
    bool IsInGesture() const { return m_nGestureDepth > 0; }

    // --- auto-hide: bars of pinned-off panes in strips along the site's edges
    // Makes the auto-hide dock sites of the sides in dwStyle (the outermost
    // strips of the site); pinning makes its side's on demand.
    bool EnableAutoHidePanes(unsigned long dwStyle);
    unsigned long GetEnabledAutoHideAlignment() const { return m_dwEnabledAutoHideBars; }
    ZnAutoHideDockSite *FindAutoHideDockSite(unsigned long dwAlign) const;
    // Puts pPane's button on pBar, or on a new bar (of m_pAutoHideToolbarRTC)
    // at the end of the pane's side; the bar, or null when it cannot be made.
    ZnAutoHideBar *AutoHidePane(ZnDockablePane *pPane, ZnAutoHideBar *pBar = nullptr);
    // Takes an empty bar away; false for a bar that still has buttons.
    bool RemoveAutoHideBar(ZnAutoHideBar *pBar);
    CObList const &GetAutoHideBarList() const { return m_lstAutoHideBars; }
    // Slides every pane that is out back in, but pExcept; at once with
    // bImmediately.
    void HideAutoHidePanes(ZnDockablePane *pExcept = nullptr, bool bImmediately = false);
    // The slid-out pane lies above everything else of the site.
    void SetAutohideZOrder(ZnDockablePane *pPane);
    void FillAutoHidePaneVec(std::vector<ZnDockablePane *> &panes) const;

    // --- the panes context menu
    void EnablePaneContextMenu(bool bEnable, unsigned int uiCustomizeCmd = 0, SString const *pCustomizeText = nullptr,
                               bool bToolbarsOnly = false);
    bool IsPaneContextMenuEnabled() const { return m_bDockBarMenu != 0; }
    // A check item per dockable pane (its window text), checked when shown;
    // the item's identifier is the pane's control identifier.
    HMENU BuildPanesMenu(bool bToolbarsOnly = false);
    // Shows the menu at point (screen) and shows or hides the chosen pane.
    bool OnPaneContextMenu(CPoint point);
    bool ProcessPaneContextMenuCommand(unsigned int nID);

    // The smart docking guides are not built yet; no manager has them.
    void *GetSmartDockingManagerPermanent() const { return nullptr; }

    // --- the frame's docking layer
    void LayoutDockedPanes(RECT &rClient) override;
    bool EnableFrameDocking(unsigned long dwDockStyle) override { return EnableDocking(dwDockStyle); }
    void OnFrameDestroyed() override;

    // --- floating: mini frames, dragging and dropping
    // The manager's mini frames; a frame registers itself when it is made
    // and leaves when it goes.
    bool AddMiniFrame(ZnPaneFrameWnd *pFrame);
    bool RemoveMiniFrame(ZnPaneFrameWnd *pFrame);
    CObList const &GetMiniFrames() const { return m_lstMiniFrames; }
    void FillMiniFrameVec(std::vector<ZnPaneFrameWnd *> &frames) const;
    // The shown frame under a screen point (other than pFrameToExclude), or
    // null.
    ZnPaneFrameWnd *FrameFromPoint(CPoint pt, ZnPaneFrameWnd const *pFrameToExclude = nullptr) const;
    // Destroys every mini frame and answers the panes that were in them:
    // they are back in the site's window, hidden, and docked nowhere.
    std::vector<ZnDockablePane *> DestroyMiniFrames();
    // Whether pPane is one of this manager's panes docked in its site.
    bool IsDockedHere(ZnDockablePane const *pPane) const;
    // Docks pPane beside the floating pane pTarget on side align of it:
    // the two then share a multi-pane frame (made from pTarget's frame when
    // that holds only pTarget). len (0: an even split) is pPane's length.
    bool DockIntoFloatingPane(ZnDockablePane *pPane, ZnDockablePane *pTarget, unsigned long align, int len);
    // Docks every pane of pFrame at side align of the site as one group of
    // len pixels (0: the frame's own extent), keeping their arrangement;
    // the outermost group when bOuterEdge.
    bool DockMiniFrameToSide(ZnPaneFrameWnd *pFrame, unsigned long align, bool bOuterEdge, int len);

    // Where a frame dragged with the mouse at pt (screen) would dock: at a
    // side of the site when pt is near its edges (IsPointNearDockSite), as
    // a tab of a docked pane when pt lies on its caption (bTab; the outline
    // is the pane), or beside a pane (docked or floating in another frame)
    // when pt lies in the outer third of it on that side. rectOutline
    // (screen) is what the drag shows.
    struct DropTarget
    {
        unsigned long dwAlign = 0;
        bool bTab = false;
        bool bOuterEdge = false;
        ZnDockablePane *pPane = nullptr;
        CRect rectOutline;
    };
    bool FindDropTarget(CPoint pt, ZnPaneFrameWnd const *pDragged, DropTarget &rTarget) const;
    bool DropMiniFrame(ZnPaneFrameWnd *pFrame, DropTarget const &rTarget);
    // Moves pFrame with the mouse (ptGrab: where in the frame it is held)
    // until the button is released or Escape cancels, showing the drop
    // target's outline (ZnDragFrameImpl). Unless bMoving (the drag is under
    // way already), nothing moves before the mouse has left the drag
    // sensitivity around ptCursor, so that a click on the caption docks
    // nothing. Nothing is docked here: the caller drops, keeps or puts back.
    enum DragResult { DragDropped, DragReleased, DragCancelled };
    DragResult TrackMiniFrameDrag(ZnPaneFrameWnd *pFrame, CPoint ptCursor, CPoint ptGrab, DropTarget &rTarget,
                                  bool bMoving);
    ZnPaneFrameWnd *GetDraggedMiniFrame() const { return m_pDraggedFrame; }

    // --- the settings store (ZnDockingManagerPersist.cpp)
    // Every pane saves its own state (ZnPane::SaveState with uiID), then the
    // manager's archive goes as one binary value, "DockingPaneAndPaneDividers",
    // under "DockingManagers\<profile>\DockingManager-<uiID>". False, and
    // the value is not written, when the application has no place in the
    // settings store or the archive cannot be built (a pane without a
    // control identifier).
    virtual bool SaveState(char const *lpszProfileName = nullptr, unsigned int uiID = 0xFFFFFFFF);
    // Reads the value back and lays the panes out as it says. False when
    // the key or value is missing or the archive is damaged: then nothing
    // has changed.
    virtual bool LoadState(char const *lpszProfileName = nullptr, unsigned int uiID = 0xFFFFFFFF);
    // The archive, in this order: the tabbed panes' tabs; the panes docked
    // nowhere and the groups (ZnPaneDivider::Serialize); the mini frames as
    // archived objects; the pinned-off panes
    // (ZN_AUTOHIDE_DOCKSITE_SAVE_INFO); the hidden tabbed MDI bars. Loading
    // reads and checks all of it before it touches a pane, then takes the
    // panes it names out of their places and builds the groups, frames and
    // pins again, by control identifier. A failure marks the archive
    // failed.
    void Serialize(CArchive &ar) override;

    // Identifiers of the frame's dock sites, by side.
    static constexpr unsigned int AFX_IDW_DOCKBAR_TOP = 0xE81B;
    static constexpr unsigned int AFX_IDW_DOCKBAR_LEFT = 0xE81C;
    static constexpr unsigned int AFX_IDW_DOCKBAR_RIGHT = 0xE81D;
    static constexpr unsigned int AFX_IDW_DOCKBAR_BOTTOM = 0xE81E;

private:
    bool StoreArchive(CArchive &ar);
    bool LoadArchive(CArchive &ar);
    void ComputeLayout();
    // The window that takes what the docked panes leave: the dock parent's
    // free-space window or the frame's view.
    CWnd *GetClientAreaWnd() const;
    void DetachEverything();
    void ApplyLayout();
    ZnDockablePane *PaneOfId(unsigned int nID) const;
    // The mini frames' share of every layout.
    void CalcMiniFrameLayouts();
    void ApplyMiniFrameLayouts();
    ZnPaneFrameWnd *m_pDraggedFrame = nullptr;

    CObList m_lstControlBars;
    CObList m_lstDockSites;
    CObList m_lstMiniFrames;
    CObList m_lstAutoHideBars;
    std::vector<void *> m_lstHiddenMDITabbedBars;
    std::vector<ZnPaneDivider *> m_lstGroups;
    CWnd *m_pParentWnd;
    HWND m_hSiteWnd;
    CRect m_rectSite;
    CRect m_rectClientAreaBounds;
    CRect m_rectOuterEdgeBounds;
    bool m_bLockUpdate;
    bool m_bIsInAdjustLayout;
    unsigned long m_dwEnabledDockBars;
    unsigned long m_dwEnabledSDBars;

    int m_nGestureDepth;
    bool m_bApplyPending;
    bool m_bNotifyPending;
    bool m_bBeginResizesSent;
    unsigned int m_uiCustomizeCmd;

    static std::map<CFrameWnd *, ZnDockingManager *> s_registry;

    // --- auto-hide
    // The strips' bars and the slid-out pane, after the strips are cut.
    void LayoutAutoHide();
    // Their windows, where the layout put them.
    void ApplyAutoHideLayout();
    // Pinned panes forget their bars before the sites go.
    void DetachAutoHide();
    // AddPane(…, bAutoHide): a bar joins the auto-hide bar list, a docked
    // pane is pinned off.
    bool AddAutoHidePane(ZnBasePane *pWnd);
    unsigned long m_dwEnabledAutoHideBars = 0;
};
