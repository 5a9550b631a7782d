#pragma once
// A pane that users dock, resize, close and (with the later pieces) float,
// tab, pin and hide. One platform window per pane: its caption with text and
// buttons, the gripper and the border live in the non-client area, so that
// the client area is exactly the content. A pane of a dock parent window
// hosts a library Window as its content, usually the very window the pane
// is the platform window of.
//
// The layout model needs only the internal name (the pane's key in layouts
// and positions), the window text, the remembered dock position and
// floating rectangle, and the pane's length in its container.
#include <vector>

#include "docking/DockPosition.h"
#include "docking/ZnPane.h"
#include "docking/ZnRecentDockSiteInfo.h"
#include "frame/Kestrel5Api.h"
#include "graphics/CRectangle.h"
#include "mfc/CMFCCaptionButton.h"
#include "text/SString.h"

class CArchive;
class Window;
class ZnAutoHideBar;
class ZnAutoHideButton;
class ZnAutoHideTimer;
class ZnBaseTabbedPane;
class ZnDockParentWnd;
class ZnPaneContainer;
class ZnPaneContainerManager;
class ZnPaneDivider;
class ZnPaneFrameWnd;

class KSAPI ZnDockablePane : public ZnPane
{
    DECLARE_DYNAMIC(ZnDockablePane)
public:
    explicit ZnDockablePane(ZnDockParentWnd *pDockParentWnd = nullptr);
    ~ZnDockablePane() override;

    // The pane's window: a child of pParentWnd (the dock site) at rect.
    // dwTabbedStyle says how tabs would show, dwControlBarStyle what the pane
    // allows (AFX_CBRS_CLOSE …).
    virtual bool Create(char const *lpszCaption, CWnd *pParentWnd, CRect const &rect, bool bHasGripper,
                        unsigned int nID, unsigned long dwStyle, unsigned long dwTabbedStyle = AFX_CBRS_REGULAR_TABS,
                        unsigned long dwControlBarStyle = AFX_DEFAULT_DOCKING_PANE_STYLE);

    ZnDockParentWnd *GetPDockParentWnd() const { return m_pDockParentWnd; }
    // The library window shown as the pane's content; not owned.
    void SetDockedWindow(Window *pWin) { m_pDockedWin = pWin; }
    Window *GetPDockedWin() const { return m_pDockedWin; }

    SString const &GetInternalName() const { return m_sInternalName; }
    void SetInternalName(SString const &name) { m_sInternalName = name; }

    // A stored position always names its pane: SetRecentDockPosition takes
    // the pane's internal name over whatever name the position carried.
    DockPosition GetRecentDockPosition() const { return m_recentDockPosition; }
    DockPosition &GetRRecentDockPosition() { return m_recentDockPosition; }
    void SetRecentDockPosition(DockPosition const &position);

    CRectangle const &GetRectRecentFloat() const { return m_rectRecentFloat; }
    void SetRectRecentFloat(CRectangle const &rect) { m_rectRecentFloat = rect; }

    // Moves the divider of the pane's container so that the pane gets len
    // (len + 1 rows beside a horizontal divider). False, and nothing changes,
    // when the pane is not in a container with a divider. The length asked
    // for is kept either way (GetSizeInContainer).
    bool SetSizeInContainer(int len);
    int GetSizeInContainer() const { return m_nSizeInContainer; }
    int GetLastPercentInPaneContainer() const { return m_nLastPercentInPaneContainer; }
    void SetLastPercentInPaneContainer(int percent) { m_nLastPercentInPaneContainer = percent; }

    // --- docking
    bool DockToDockParentWindow(unsigned long dwAlign, RECT const *lpRect, unsigned long dwStyle,
                                ZnBasePane *pRelative, int nRelativeIndex, bool bAddToManager);
    // Docks the panes held by rManager beside this pane on side dwAlign.
    virtual bool DockPaneContainer(ZnPaneContainerManager &rManager, unsigned long dwAlign,
                                   AFX_DOCK_METHOD dockMethod);
    virtual void OnAfterDock(CWnd *pDockBar, RECT const *lpRect, AFX_DOCK_METHOD dockMethod);
    bool IsDocked() const { return m_pDefaultDivider != nullptr; }

    ZnPaneDivider *GetDefaultPaneDivider() const { return m_pDefaultDivider; }
    void SetDefaultPaneDivider(ZnPaneDivider *pDivider) { m_pDefaultDivider = pDivider; }
    void SetRestoredDefaultPaneDivider(ZnPaneDivider *pDivider) { m_pRestoredDefaultDivider = pDivider; }
    ZnPaneDivider *GetRestoredDefaultPaneDivider() const { return m_pRestoredDefaultDivider; }
    void RestoreDefaultPaneDivider();
    // Leaves the group the pane is docked in; the group's empty containers
    // collapse and an emptied group goes with its divider.
    void RemoveFromDefaultPaneDivider();
    ZnPaneDivider *CreateDefaultPaneDivider(unsigned long dwAlign, CWnd *pDockSite);

    int GetNestedDockDepth() const;
    bool HasChilds() const;
    ZnDockablePane *GetDirectNeighbour(unsigned long &dwAlign) const;
    // The pane window's current screen rectangle.
    CRectangle CalcFloatRect() const;

    // --- closing
    virtual void OnPressCloseButton();
    virtual void DoClose();
    void ShowPane(bool bShow, bool bDelay, bool bActivate) override;

    // --- caption and buttons
    static int m_nTimeOutBeforeAutoHide;
    static int m_nSlideSteps;
    static int m_nSlideDefaultTimeOut;
    static int m_bHideDisabledButtons;
    static int m_bCaptionText;
    static int m_bHideInAutoHideMode;
    static int m_bDisableAnimation;
    static CSize m_sizeDragSensitivity;
    static CSize GetDragSensitivity() { return m_sizeDragSensitivity; }
    // Draw caption text, (no effect), hide disabled buttons.
    static void SetCaptionStyle(int bDrawText, int bForceGradient, int bHideDisabledButtons);
    static bool IsDrawCaption() { return m_bCaptionText != 0; }
    static bool IsHideDisabledButtons() { return m_bHideDisabledButtons != 0; }

    virtual void SetCaptionButtons();
    void RemoveCaptionButtons();
    int GetCaptionButtonTotal() const { return int(m_arrButtons.size()); }
    CMFCCaptionButton *GetCaptionButton(int i) const { return m_arrButtons[size_t(i)]; }
    // The button under a point in window coordinates, or null.
    CMFCCaptionButton *FindButton(CPoint point) const;
    CMFCCaptionButton *FindButtonByHit(unsigned int nHit) const;
    void EnableButton(unsigned int nHit, int bEnable);
    bool IsButtonEnabled(unsigned int nHit) const;
    void RedrawButton(CMFCCaptionButton const *pBtn);
    virtual void OnPressButtons(unsigned int nHit);
    virtual void UpdateTooltips();
    // The tip of button tip index nTip (1 close, 2 menu, 3 pin); false for
    // others.
    virtual bool OnNeedTipText(int nTip, SString &rText) const;
    // A text of the application's own for one of the first two tips.
    void SetButtonTipText(int nTip, SString const &rText);

    void EnableGripper(bool bEnable);
    bool HasGripper() const { return m_bHasGripper; }
    void RedrawGripper(bool bActive);
    // The float grip lets a caption drag float the pane (the floating frames
    // come later; the switch is kept now).
    void ActivateFloatGrip(bool bActivate) { m_bFloatGripActive = bActivate; }
    bool IsFloatGripActive() const { return m_bFloatGripActive; }
    bool IsActive() const { return m_bActive; }
    void SetIsActive(bool bActive);
    void SetResizeMode(bool bResize) { m_bResizeMode = bResize; }
    bool IsTracked() const;

    // The caption's height, 0 without a gripper; border width.
    int GetCaptionHeight() const;
    // The caption's rectangle in window coordinates.
    CRect GetCaptionRect() const;

    void GetMinSize(CSize &size) const override;

    // --- auto-hide: pinning a pane off onto a bar on its edge and sliding it
    // out over the site from there
    // Pins the pane off onto an auto-hide bar on side dwAlignment (its own
    // side when 0): pBar, or a new bar when null. A placeholder keeps the
    // pane's half of its container, so that unpinning brings it back to the
    // same place and size. With EnableAutohideAll the pane's whole group goes,
    // onto one bar. False, and nothing changes, when the pane is not docked,
    // does not allow auto-hide (AFX_CBRS_AUTOHIDE) or is pinned already.
    // bMode false unpins (UnSetAutoHideMode). bAnimate has no effect on
    // pinning, which never slides.
    virtual bool SetAutoHideMode(bool bMode, unsigned long dwAlignment, ZnAutoHideBar *pBar = nullptr,
                                 bool bAnimate = true);
    // Back into the place the pane was pinned from (with EnableAutohideAll:
    // every pane of its bar); docked anew at its side when that place is gone.
    virtual void UnSetAutoHideMode(ZnDockablePane *pFirstPaneInGroup = nullptr);
    // The pin button: pins a docked pane, unpins a pinned one.
    virtual void ToggleAutoHide();
    bool IsAutoHideMode() const { return m_pAutoHideBar != nullptr; }
    // The pin takes the pane's whole group (off by default).
    void EnableAutohideAll(bool bEnable = true) { m_bEnableAutoHideAll = bEnable; }
    bool IsAutohideAllEnabled() const { return m_bEnableAutoHideAll; }
    void SetAutoHideParents(ZnAutoHideBar *pToolBar, ZnAutoHideButton *pBtn);
    ZnAutoHideBar *GetAutoHideToolBar() const { return m_pAutoHideBar; }
    ZnAutoHideButton *GetAutoHideButton() const { return m_pAutoHideButton; }
    // Where the pane lies when slid all the way out (site client
    // coordinates): against the inner edge of its side's auto-hide strip,
    // as long as the site's inside along that edge and its remembered size
    // deep; empty when the pane is not pinned.
    CRect GetAHRestoredRect() const;
    // The depth the pane slides out to: its size across its edge when it was
    // pinned, or as a user left it by dragging the inner edge.
    int GetAutoHideSize() const { return m_nAutoHideSize; }
    void SetAutoHideSize(int nSize);
    // Pins the pane at its current side without a slide: for a layout being
    // applied whose element says the pane was pinned off.
    void AutoHideFromExtern();
    // Slides a pinned pane out over the site (another one that is out slides
    // back at once) or back into its bar: m_nSlideSteps steps of
    // m_nSlideDefaultTimeOut ms, or at once with bUseTimer false, with
    // m_bDisableAnimation, without a window or without the timer engine.
    virtual void Slide(bool bSlideOut, bool bUseTimer = true);
    // One step of a slide.
    virtual void OnSlide(bool bSlideOut);
    // Whether a slide in that direction has arrived.
    virtual bool CheckStopSlideCondition(bool bDirection) const;
    // The watch of a pane that is out: true when it slid the pane back, which
    // it does m_nTimeOutBeforeAutoHide ms after the mouse left the pane and
    // its button while the pane holds neither the focus nor the mouse.
    virtual bool CheckAutoHideCondition();
    // Out, wholly or partly; sliding back in.
    bool IsSlidOut() const { return m_nSlideStep > 0; }
    bool IsSlidingIn() const { return m_nSlideStep > 0 && m_nSlideTarget == 0; }
    bool IsSliding() const { return m_nSlideStep != m_nSlideTarget; }
    int GetSlideStep() const { return m_nSlideStep; }
    // A step of the slide clock; true when the slide has arrived.
    bool OnSlideTick();

    // The window's text once the window exists, the text set before
    // otherwise: models name panes by it before their windows are created.
    using CWnd::GetWindowText;
    SString GetWindowText() const;
    void SetWindowText(char const *text);

    // --- floating: mini frames, dragging out and back, recent places
    // Floats the pane in a mini frame of its own whose window rectangle is
    // rectFloat (screen): the pane leaves its group or its frame (a lone
    // pane's frame just moves). dockMethod says what started it (DM_MOUSE
    // a drag, DM_DBL_CLICK a double-click). False when the pane may not
    // float or has no manager; nothing changes then.
    virtual bool FloatPane(CRect rectFloat, AFX_DOCK_METHOD dockMethod = DM_UNKNOWN, bool bShow = true);
    // Floating is allowed (AFX_CBRS_FLOAT in the control-bar style).
    virtual bool CanFloat() const;
    // Forbids floating from now on; a floating pane docks back.
    void DisableFloating();
    // Whether a pane found floating may stay so when a layout is rebuilt.
    bool MayStayFloating() const { return CanFloat(); }
    bool IsFloating() const override { return m_pMiniFrame != nullptr; }
    ZnPaneFrameWnd *GetParentMiniFrame() const { return m_pMiniFrame; }
    // Kept by the frames that take the pane in and let it go.
    void SetParentMiniFrame(ZnPaneFrameWnd *pFrame) { m_pMiniFrame = pFrame; }
    // The place the pane had when it last left the dock site.
    ZnRecentDockSiteInfo const &GetRecentDockSiteInfo() const { return m_recentDockSiteInfo; }
    void StoreRecentDockSiteInfo() { m_recentDockSiteInfo.StoreDockInfo(this); }
    // Docks the pane where it was before it floated: beside the same pane
    // with the same share when that pane is still docked, else on the same
    // side with the same length; a pane never docked goes to its side.
    bool DockToRecentDockSite();
    // Where a double-click floats a docked pane: its recent floating
    // rectangle, or beside where it is now.
    CRect GetFloatRect() const;
    // A frame that shows the pane alone draws the caption; the pane's own
    // is hidden meanwhile.
    void HideCaptionForFrame(bool bHide);
    // Leaving a mini frame for pNewParent lets the frame go first.
    void RemoveFromMiniframe(CWnd *pNewParent, AFX_DOCK_METHOD dockMethod) override;

    // --- tabs (ZnDockablePaneTabs.cpp)
    // Tabs this pane onto pTarget: a target that is a tabbed pane, or a tab
    // of one, gets a new tab; a docked or floating target is replaced where
    // it is, at its size, by a new tabbed pane of the target's tabbed-pane
    // class holding the target, then this pane. This pane leaves its place
    // first. Answers this pane, or null (nothing changes) for a target that
    // is neither docked nor floating nor a tab, for this pane itself, or a
    // target of another manager. The group is returned in
    // *ppTabbedControlBar when asked for.
    virtual ZnDockablePane *AttachToTabWnd(ZnDockablePane *pTabControlBarAttachTo,
                                           AFX_DOCK_METHOD dockMethod = DM_UNKNOWN, bool bSetActive = true,
                                           ZnDockablePane **ppTabbedControlBar = nullptr);
    // The group this pane is a tab of, or null.
    ZnBaseTabbedPane *GetParentTabbedPane() const { return m_pParentTabbedPane; }
    void SetParentTabbedPane(ZnBaseTabbedPane *pPane) { m_pParentTabbedPane = pPane; }
    // Out of its group, if it is a tab: hidden in the dock site. True when
    // it was a tab.
    bool LeaveTabbedPane();
    // The class of the tabbed panes this pane makes when something is
    // tabbed onto it (ZnTabbedPane unless set).
    void SetTabbedPaneRTC(CRuntimeClass const *pRTC) { m_pTabbedPaneRTC = pRTC; }
    CRuntimeClass const *GetTabbedPaneRTC() const;
    unsigned long GetTabbedStyle() const { return m_dwTabbedStyle; }
    // --- persistence (ZnDockablePanePersist.cpp)
    // The saved state's view of the pane: docked rectangle, side, row (the
    // group's place among the manager's groups) and width across its side;
    // the recent floating rectangle is the pane's own.
    void CalcRecentDockedRect() override;
    CRect GetRecentFloatingRect() const override;
    void SetRecentFloatingRect(CRect const &rect) override;
    int GetPinState() const override { return IsAutoHideMode() ? 1 : 0; }
    // The placeholder that keeps a pinned-off pane's place in its group.
    ZnDockablePane *GetAutoHidePlaceholder() const { return m_pAutoHidePlaceholder; }
    // Tabbed panes answer true and write or read their tab window in the
    // manager's archive (false: nothing written, or a record that does not
    // read); a plain pane has no tabs.
    virtual bool IsTabbedPane() const { return false; }
    virtual bool SerializeTabs(CArchive &) { return false; }

protected:
    LRESULT WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;
    // A pane made by the library for a pane of a dock parent window belongs
    // to the same window.
    void SetPDockParentWnd(ZnDockParentWnd *pWnd) { m_pDockParentWnd = pWnd; }
    // A press on the caption: a drag beyond the drag sensitivity floats the
    // pane and the frame follows the mouse; a double-click floats a docked
    // pane and docks a floating one back.
    virtual void OnCaptionPress(CPoint ptScreen);
    // With the mouse captured, waits until it moves beyond the drag
    // sensitivity from ptScreen (true, capture kept, rNow where it went) or
    // the press ends otherwise (false, capture released).
    bool WaitForDragStart(CPoint ptScreen, CPoint &rNow);
    virtual void OnCaptionDoubleClick();

private:
    // The window's rectangle when it has one, the layout's otherwise.
    CRect CurrentRect() const;
    int ShownHitCodes(unsigned (&codes)[8]) const;
    void LayoutCaptionButtons();
    void PaintNonClient();
    LRESULT HitTest(CPoint ptScreen);
    void TrackCaptionButton(CMFCCaptionButton *pBtn);
    void SetHotButton(CMFCCaptionButton *pBtn);

    std::vector<CMFCCaptionButton *> m_arrButtons;
    ZnDockParentWnd *m_pDockParentWnd;
    Window *m_pDockedWin;
    DockPosition m_recentDockPosition;
    SString m_sInternalName;
    SString m_sWindowText;
    CRectangle m_rectRecentFloat;
    int m_nSizeInContainer;
    int m_nLastPercentInPaneContainer;
    bool m_bActive;
    bool m_bHasGripper;
    bool m_bFloatGripActive;
    bool m_bResizeMode;
    ZnPaneDivider *m_pDefaultDivider;
    ZnPaneDivider *m_pRestoredDefaultDivider;
    CMFCCaptionButton *m_pHotButton;
    SString m_sTipText[2];

    // --- auto-hide state
    // ShowPane of a pinned pane: out of auto-hide when hidden, slid out when
    // shown; true when that was all.
    bool ShowPaneInAutoHide(bool bShow);
    // Drops every tie to bars, placeholder and clocks without touching the
    // layout: the pane or its manager is going.
    void ReleaseAutoHide();
    // Pins this pane alone onto pBar; the layout is the caller's.
    bool PinOff(ZnAutoHideBar *pBar, unsigned long dwAlign);
    // Puts this pane alone back; the layout is the caller's.
    void PinBack();
    // The resize band on the inner edge of a slid-out pane: its hit code, or 0.
    unsigned int AutoHideEdgeHit(CPoint ptWindow) const;
    void TrackAutoHideEdge(CPoint ptScreen);
    // A slide has arrived: the watch runs while the pane is out.
    void SlideArrived();
    // The group's dividers stand still while all its panes are pinned off.
    static void FreezeGroup(ZnPaneDivider *pGroup);
    ZnAutoHideBar *m_pAutoHideBar = nullptr;
    ZnAutoHideButton *m_pAutoHideButton = nullptr;
    ZnDockablePane *m_pAutoHidePlaceholder = nullptr;
    ZnAutoHideTimer *m_pSlideTimer = nullptr;
    ZnAutoHideTimer *m_pWatchTimer = nullptr;
    int m_nSlideStep = 0;
    int m_nSlideTarget = 0;
    int m_nAutoHideSize = 0;
    unsigned long m_dwLastHeld = 0;
    bool m_bEnableAutoHideAll = false;
    friend class ZnDockingManager;
    friend class ZnBaseTabbedPane;
    // Out of every place before becoming a tab: its group, its pin, its
    // frame, another tabbed pane.
    void LeaveOwnPlace();
    // --- floating
    ZnPaneFrameWnd *m_pMiniFrame = nullptr;
    ZnRecentDockSiteInfo m_recentDockSiteInfo;
    bool m_bTracked = false;
    bool m_bCaptionHiddenByFrame = false;
    bool m_bGripperBeforeFrame = true;
    // --- tabs
    ZnBaseTabbedPane *m_pParentTabbedPane = nullptr;
    CRuntimeClass const *m_pTabbedPaneRTC = nullptr;
    unsigned long m_dwTabbedStyle = AFX_CBRS_REGULAR_TABS;
};
