#pragma once
// A pane that holds several dockable panes as tabs: the group docks, floats
// and pins as one pane, while its tabs share its client area above (or
// below) a tab strip and only the active one shows. The library makes a
// group when a pane is tabbed onto another (ZnDockablePane::AttachToTabWnd)
// and lets it go when it is left with a single tab, whose pane then takes
// the group's place and size.
//
// The tabs keep their registration with the docking manager (they are the
// application's panes, found by internal name), but belong to no group of
// dividers and to no mini frame: their windows are children of the tabbed
// pane and their captions are off while they are tabs.
#include <vector>

#include "docking/ZnDockablePane.h"
#include "frame/Kestrel5Api.h"

class CMFCTabCtrl;

class KSAPI ZnBaseTabbedPane : public ZnDockablePane
{
    DECLARE_DYNAMIC(ZnBaseTabbedPane)
public:
    explicit ZnBaseTabbedPane(ZnDockParentWnd *pDockParentWnd = nullptr);
    ~ZnBaseTabbedPane() override;

    bool Create(char const *lpszCaption, CWnd *pParentWnd, CRect const &rect, bool bHasGripper, unsigned int nID,
                unsigned long dwStyle, unsigned long dwTabbedStyle = AFX_CBRS_REGULAR_TABS,
                unsigned long dwControlBarStyle = AFX_DEFAULT_DOCKING_PANE_STYLE) override;

    bool IsTabbedPane() const override { return true; }

    // --- tabs
    // Takes pPane in as the tab at nIndex (-1: the last). The pane leaves
    // whatever held it first. False for a null pane, this pane, a tabbed
    // pane, or one of another manager.
    virtual bool InsertTab(ZnDockablePane *pPane, int nIndex, bool bSetActive);
    bool AddTab(ZnDockablePane *pPane, bool bSetActive = true) { return InsertTab(pPane, -1, bSetActive); }
    // Lets pPane go: out of the strip, its window back in the dock site,
    // hidden and with its caption. A group left with one tab dissolves
    // (the pane takes the group's place), left with none it goes; either
    // way this object is deleted then, and the answer says so (true).
    bool RemoveTab(ZnDockablePane *pPane);
    int GetTabsNum() const { return int(m_tabs.size()); }
    ZnDockablePane *GetTab(int i) const;
    int FindTab(ZnDockablePane const *pPane) const;
    std::vector<ZnDockablePane *> const &GetTabs() const { return m_tabs; }
    ZnDockablePane *GetActiveTab() const { return GetTab(m_nActive); }
    int GetActiveTabIndex() const { return m_nActive; }
    // Shows tab i, hides the others; the caption takes the tab's text.
    bool SetActiveTab(int i);
    CMFCTabCtrl *GetTabWnd() const { return m_pTabWnd; }
    // The part of the client area the tabs fill, and the strip's, in client
    // coordinates.
    CRect GetTabAreaRect() const;
    CRect GetStripRect() const;
    // Sizes the strip and the tabs to the client area.
    void RecalcTabLayout();

    // The caption's close button closes the active tab, as its own would.
    void OnPressCloseButton() override;
    void DoClose() override;

protected:
    LRESULT WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;
    void PostNcDestroy() override;
    // A press on a tab: a drag beyond the drag sensitivity takes the tab out
    // into a mini frame that follows the mouse (dropped, kept floating, or
    // put back as a tab of the same group on Escape).
    virtual void OnTabPress(int nTab, CPoint ptScreen);
    // A double-click on a tab floats it.
    virtual void OnTabDoubleClick(int nTab);

private:
    // The group's end: the tab that is left (or none) takes its place.
    void Dissolve();
    void SyncCaption();

    std::vector<ZnDockablePane *> m_tabs;
    CMFCTabCtrl *m_pTabWnd = nullptr;
    int m_nActive = -1;
    unsigned long m_dwTabbedStyle = AFX_CBRS_REGULAR_TABS;
    bool m_bDissolving = false;
};
