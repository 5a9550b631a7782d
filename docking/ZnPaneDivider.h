#pragma once
// The splitter bar of docked panes. A default divider stands between a
// docked group and the rest of the dock site and owns the group's container
// manager; an inner divider separates the two halves of one pane container.
// Users drag either with the mouse: the divider captures the mouse, shows a
// resize cursor, follows live or as an outline, and Escape cancels.
#include "docking/ZnBasePane.h"
#include "frame/Kestrel5Api.h"

class CArchive;
class CObList;
class ZnPaneTreeRecord;
class ZnDockablePane;
class ZnPaneContainer;
class ZnPaneContainerManager;

class KSAPI ZnPaneDivider : public ZnBasePane
{
    DECLARE_DYNCREATE(ZnPaneDivider)
public:
    // Style bits: a horizontal divider runs left-right and moves vertically,
    // a vertical one runs top-bottom and moves horizontally.
    static constexpr unsigned long SS_HORZ = 0x1;
    static constexpr unsigned long SS_VERT = 0x2;

    ZnPaneDivider();
    explicit ZnPaneDivider(bool bDefaultMode, CWnd *pParent = nullptr);
    ~ZnPaneDivider() override;

    // 6 pixels at 96 DPI, scaled to the screen's vertical resolution; 6 while
    // the library is not started, so that models can be built before KSInit.
    static int GetDefaultWidth();

    // The classes of inner dividers and of the container managers that
    // default dividers make.
    static CRuntimeClass const *m_pSliderRTC;
    static CRuntimeClass const *m_pContainerManagerRTC;
    // New objects of those classes (of the base classes when a class set
    // there makes something else).
    static ZnPaneDivider *CreateDivider();
    static ZnPaneContainerManager *CreateContainerManager();

    // A child window of class "Afx:Slider" on pParentWnd at rect.
    virtual bool Create(unsigned long dwStyle, CWnd *pParentWnd, CRect const &rect, unsigned int nID,
                        unsigned long dwDividerStyle);
    virtual bool CreateEx(unsigned long dwStyleEx, unsigned long dwStyle, CWnd *pParentWnd, CRect const &rect,
                          unsigned int nID, unsigned long dwDividerStyle);
    // Resets the state: no container manager, no rectangles, auto-hide off.
    void Init(bool bDefaultMode = false, CWnd *pParent = nullptr);

    unsigned long GetPaneDividerStyle() const { return m_dwDividerStyle; }
    void SetPaneDividerStyle(unsigned long dwStyle) { m_dwDividerStyle = dwStyle; }
    bool IsHorizontal() const { return (m_dwDividerStyle & SS_HORZ) != 0; }
    bool IsVertical() const { return (m_dwDividerStyle & SS_VERT) != 0; }
    int GetWidth() const { return m_nWidth; }
    void SetWidth(int nWidth) { m_nWidth = nWidth; }
    bool IsDefault() const { return m_bDefault; }
    bool IsAutoHideMode() const { return m_bAutoHideMode; }
    void SetAutoHideMode(bool bMode) { m_bAutoHideMode = bMode; }
    CWnd *GetInitWnd() const { return m_pInitWnd; }

    ZnPaneContainerManager *GetPaneContainerManager() const { return m_pContainerManager; }
    void SetPaneContainerManager(ZnPaneContainerManager *pManager) { m_pContainerManager = pManager; }

    // The length of a default divider's group along its docking axis, as last
    // set by docking, SetSizeInContainer or a drag. A layout shows less when
    // the site cannot give it; the length is kept for when it can again.
    int GetGroupLength() const { return m_nGroupLength; }
    void SetGroupLength(int nLength) { m_nGroupLength = nLength < 0 ? 0 : nLength; }
    // The room the last layout had for the group and its divider together.
    int GetGroupRoom() const { return m_nGroupRoom; }
    void SetGroupRoom(int nRoom) { m_nGroupRoom = nRoom; }

    // --- a default divider's panes, through its container manager
    void AddPane(ZnDockablePane *pPane);
    void AddPaneContainer(ZnPaneContainerManager &rManager, bool bOuterEdge);
    bool AddPaneContainer(ZnDockablePane *pTarget, ZnPaneContainerManager &rManager, unsigned long dwAlign);
    bool InsertPane(ZnDockablePane *pPane, ZnDockablePane *pTarget, unsigned long dwAlign);
    bool RemovePane(ZnDockablePane *pPane);
    bool ReplacePane(ZnDockablePane *pOld, ZnDockablePane *pNew);
    ZnPaneContainer *FindPaneContainer(ZnDockablePane const *pPane, int &bLeft) const;
    ZnDockablePane *GetFirstPane() const;
    void GetPanes(CObList &lst) const;
    void GetPaneDividers(CObList &lst) const;
    CRect GetRootContainerRect() const;
    bool DoesContainFloatingPane() const { return false; }
    bool DoesAllowDynInsertBefore() const;
    void ReleaseEmptyPaneContainers();
    // Lays the group's panes out in rect; the position batch may be null.
    void RepositionPanes(CRect &rect, void *&hdwp);

    // Moves the divider by offset (x for a vertical divider, reversed in a
    // right-to-left parent; y for a horizontal one) and lays both sides out
    // again. Nothing while in auto-hide mode.
    virtual void Move(CPoint &offset, int bAdjustLayout);

    // The group's record in the docking manager's archive (side, length,
    // place among the groups, divider, container tree by control
    // identifiers). Storing writes the group; loading reads the record into
    // this (windowless) divider, and the manager builds the group from it
    // (GetLoadedRecord). A damaged record marks the archive failed.
    void Serialize(CArchive &ar) override;
    ZnPaneTreeRecord const *GetLoadedRecord() const { return m_pLoadedRecord; }

    bool IsTracking() const { return m_bTracking; }
    // Ends a drag; bMove applies the tracked offset, otherwise it is dropped.
    void StopTracking(bool bMove);
    // Dragging follows the mouse live (the default) or as an outline that
    // applies on release.
    static bool m_bLiveResize;

protected:
    void SetDefaultMode(bool bDefault) { m_bDefault = bDefault; }
    LRESULT WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;

private:
    void BeginTracking(CPoint ptScreen);
    void TrackTo(CPoint ptScreen);
    void DrawTracker();
    // The divider's own step of a drag: the limits a drag may reach from
    // where it started, in offset units.
    void TrackLimits(int &lo, int &hi) const;

    unsigned long m_dwDividerStyle;
    int m_nWidth;
    bool m_bDefault;
    bool m_bAutoHideMode;
    ZnPaneContainerManager *m_pContainerManager;
    CWnd *m_pInitWnd;
    int m_nGroupLength;
    int m_nGroupRoom;

    bool m_bTracking;
    CPoint m_ptTrackStart;
    int m_nTrackOffset;
    int m_nTrackApplied;
    CRect m_rectTracker;
    bool m_bTrackerShown;
    ZnPaneTreeRecord *m_pLoadedRecord = nullptr;
};
