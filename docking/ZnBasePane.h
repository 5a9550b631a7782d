#pragma once
// The common base of everything the docking manager lays out: panes,
// dividers and dock sites. It knows its style bits (the side it is docked to
// among them), its manager, whether the layout should show it, and the
// rectangle the last layout gave it in the dock site's client coordinates.
// The layout rectangle is the engine's truth; a pane with a window is moved
// to it in one batch when an operation ends, a pane without a window (the
// engine's arithmetic tests) simply keeps it.
#include "frame/Kestrel5Api.h"
#include "mfc/AfxDocking.h"
#include "mfc/CRect.h"
#include "mfc/CSize.h"
#include "mfc/CWnd.h"

class ZnDockingManager;

class KSAPI ZnBasePane : public CWnd
{
    DECLARE_DYNAMIC(ZnBasePane)
public:
    ZnBasePane();
    ~ZnBasePane() override;

    unsigned long GetPaneStyle() const { return m_dwStyle; }
    virtual void SetPaneStyle(unsigned long dwStyle) { m_dwStyle = dwStyle; }
    unsigned long GetCurrentAlignment() const { return m_dwStyle & CBRS_ALIGN_ANY; }
    void SetPaneAlignment(unsigned long dwAlign) { m_dwStyle = (m_dwStyle & ~CBRS_ALIGN_ANY) | (dwAlign & CBRS_ALIGN_ANY); }
    bool IsHorizontal() const { return (GetCurrentAlignment() & CBRS_ORIENT_HORZ) != 0; }

    // What the pane allows: AFX_CBRS_FLOAT, AFX_CBRS_CLOSE …
    unsigned long GetControlBarStyle() const { return m_dwControlBarStyle; }
    void SetControlBarStyle(unsigned long dwStyle) { m_dwControlBarStyle = dwStyle; }
    bool CanBeClosed() const { return (m_dwControlBarStyle & AFX_CBRS_CLOSE) != 0; }
    bool CanBeResized() const { return (m_dwControlBarStyle & AFX_CBRS_RESIZE) != 0; }

    // The sides the pane may dock to.
    void EnableDocking(unsigned long dwDockStyle) { m_dwEnabledAlignment = dwDockStyle & CBRS_ALIGN_ANY; }
    unsigned long GetEnabledAlignment() const { return m_dwEnabledAlignment; }

    ZnDockingManager *GetDockingManager() const { return m_pDockManager; }
    void SetDockingManager(ZnDockingManager *pMgr) { m_pDockManager = pMgr; }

    // Whether the layout gives the pane room. Kept apart from the window's own
    // visibility so that the arithmetic runs without windows; ShowPane keeps
    // both in step.
    virtual bool IsPaneVisible() const { return m_bPaneVisible; }
    void SetPaneVisibleFlag(bool bVisible) { m_bPaneVisible = bVisible; }
    virtual void ShowPane(bool bShow, bool bDelay, bool bActivate);

    CRect const &GetLayoutRect() const { return m_rectLayout; }
    void SetLayoutRect(CRect const &rect) { m_rectLayout = rect; }

    // The smallest size the layout should give the pane (window size).
    virtual void GetMinSize(CSize &size) const;

    // Registers a window class of the docking windows once (on the library's
    // module, with the common window procedure) and answers its name.
    static char const *RegisterDockingClass(char const *lpszName, char const *lpszCursor);

    // --- the settings store: "BasePanes\<profile>" under the application's
    // key, one key per pane ("BasePane-<index>", "BasePane-<index><id in
    // hex>" when uiID is not -1; nIndex -1 is the pane's own control
    // identifier). False when the key cannot be made or opened, or a value
    // is missing; nothing changes then.
    virtual bool SaveState(char const *lpszProfileName = nullptr, int nIndex = -1, unsigned int uiID = 0xFFFFFFFF);
    virtual bool LoadState(char const *lpszProfileName = nullptr, int nIndex = -1, unsigned int uiID = 0xFFFFFFFF);
    // The visibility the last LoadState read ("IsVisible").
    bool GetRecentVisibleState() const { return m_bRecentVisibleState; }

    // Accessibility help text of every pane.
    virtual CString GetAccessibleHelp() const { return CString("ControlPane"); }

protected:
    unsigned long m_dwStyle;
    unsigned long m_dwControlBarStyle;
    unsigned long m_dwEnabledAlignment = 0;
    ZnDockingManager *m_pDockManager;
    CRect m_rectLayout;
    bool m_bPaneVisible;
    bool m_bRecentVisibleState = false;

    // The key of a pane's values in section lpszSection: "<path><prefix>-<index>"
    // or with the identifier in hex; empty when the application has no
    // place in the settings store.
    CString StateKey(char const *lpszSection, char const *lpszPrefix, char const *lpszProfileName, int nIndex,
                     unsigned int uiID) const;
};
