#pragma once
// A pane that docks in the manager's dock site: adds the class-wide switch
// for minimum sizes and the way back from a floating frame into the site.
#include "docking/ZnBasePane.h"

class KSAPI ZnPane : public ZnBasePane
{
    DECLARE_DYNAMIC(ZnPane)
public:
    ZnPane() = default;

    // On: containers never lay a pane out below its minimum size when both
    // halves fit, and ForceAdjustLayout re-lays out without being forced.
    // Users' divider drags stop at minimum sizes either way.
    static int m_bHandleMinSize;

    // Puts the pane's window back into pNewParent (the dock site) from
    // wherever it is, without changing its visibility.
    virtual void RemoveFromMiniframe(CWnd *pNewParent, AFX_DOCK_METHOD dockMethod);
    // The window the pane is docked into: the dock site of its manager.
    CWnd *GetDockSiteFrameWnd() const;

    // --- the settings store: "Panes\<profile>", key "Pane-<index>" (see
    // ZnBasePane::SaveState): the control identifier, the recent floating
    // and docked rectangles, side and row, whether the pane floats, its
    // most recent width and whether it is pinned off. Saving takes the
    // docked rectangle the pane has now first (CalcRecentDockedRect).
    bool SaveState(char const *lpszProfileName = nullptr, int nIndex = -1, unsigned int uiID = 0xFFFFFFFF) override;
    bool LoadState(char const *lpszProfileName = nullptr, int nIndex = -1, unsigned int uiID = 0xFFFFFFFF) override;
    virtual void CalcRecentDockedRect();
    virtual CRect GetRecentFloatingRect() const { return m_rectRecentFloating; }
    virtual void SetRecentFloatingRect(CRect const &rect) { m_rectRecentFloating = rect; }
    virtual bool IsFloating() const { return false; }
    // 1 while the pane is pinned off, else 0.
    virtual int GetPinState() const { return 0; }

    CRect const &GetRecentDockedRect() const { return m_rectRecentDocked; }
    unsigned long GetRecentFrameAlignment() const { return m_dwRecentFrameAlignment; }
    int GetRecentRowIndex() const { return m_nRecentRowIndex; }
    bool GetRecentFloatingState() const { return m_bRecentFloatingState; }
    int GetMRUWidth() const { return m_nMRUWidth; }
    int GetRecentPinState() const { return m_nRecentPinState; }

protected:
    CRect m_rectRecentDocked;
    CRect m_rectRecentFloating;
    unsigned long m_dwRecentFrameAlignment = 0;
    int m_nRecentRowIndex = -1;
    bool m_bRecentFloatingState = false;
    int m_nMRUWidth = 0;
    int m_nRecentPinState = 0;
};
