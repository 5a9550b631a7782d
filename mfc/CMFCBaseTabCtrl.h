#pragma once
// The tab strip of a tabbed pane: a list of tabs (a window and a text
// each), the active one, their rectangles along the strip, hit tests and
// the drawing of the strip. The strip does not move the windows it names:
// its owner shows and sizes them. A press, a double-click and a change of
// the active tab are sent to the parent window as registered messages
// (wParam the tab, lParam the screen point packed as POINTS) and are the
// last thing the strip does for that input: the parent may destroy it.
#include <vector>

#include "frame/Kestrel5Api.h"
#include "mfc/CRect.h"
#include "mfc/CStringT.h"
#include "mfc/CWnd.h"

class KSAPI CMFCBaseTabCtrl : public CWnd
{
    DECLARE_DYNAMIC(CMFCBaseTabCtrl)
public:
    enum Location { LOCATION_BOTTOM = 0, LOCATION_TOP = 1 };

    CMFCBaseTabCtrl() = default;
    ~CMFCBaseTabCtrl() override = default;

    // Registered messages to the parent.
    static unsigned int GetWmChangeActiveTab();
    static unsigned int GetWmTabPress();
    static unsigned int GetWmTabDblClk();

    // Inserts at nInsertAt (clamped to the count); the first tab becomes
    // active. False for a null window or one that is a tab already.
    bool InsertTab(CWnd *pTabWnd, char const *lpszTabLabel, int nInsertAt);
    bool AddTab(CWnd *pTabWnd, char const *lpszTabLabel) { return InsertTab(pTabWnd, lpszTabLabel, GetTabsNum()); }
    // The active tab moves to the tab after it (or before it, for the last).
    bool RemoveTab(int iTab);
    void RemoveAllTabs();
    int GetTabsNum() const { return int(m_tabs.size()); }
    CWnd *GetTabWnd(int iTab) const;
    int GetTabFromHwnd(HWND hWnd) const;
    bool GetTabLabel(int iTab, CString &strLabel) const;
    bool SetTabLabel(int iTab, char const *lpszLabel);
    int GetActiveTab() const { return m_iActiveTab; }
    CWnd *GetActiveWnd() const { return GetTabWnd(m_iActiveTab); }
    // False for a tab that does not exist; the parent hears of a change.
    virtual bool SetActiveTab(int iTab);

    void SetLocation(Location location);
    Location GetLocation() const { return m_location; }
    // The tab's rectangle in the strip's client coordinates; empty when the
    // tab does not exist.
    bool GetTabRect(int iTab, CRect &rect) const;
    // The tab at a point in client coordinates, or -1.
    int GetTabFromPoint(CPoint const &pt) const;
    // The strip's height for the current font.
    static int GetTabsHeight();

protected:
    LRESULT WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    bool OnEraseBkgnd(HDC hDC) override;
    void OnSize(unsigned int nType, int cx, int cy) override;
    // The tab rectangles from the texts and the strip's width.
    void RecalcTabs();
    void Redraw();

private:
    struct Tab
    {
        CWnd *pWnd;
        CString label;
        CRect rect;
    };
    std::vector<Tab> m_tabs;
    int m_iActiveTab = -1;
    Location m_location = LOCATION_BOTTOM;
};
