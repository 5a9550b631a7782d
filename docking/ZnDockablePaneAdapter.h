#pragma once
// A dockable pane whose content is an existing window: the wrapped window
// becomes the pane's child and fills its client area, following every change
// of the pane's size. Its state in the settings store adds the pane's name
// ("BarName", the pane's window text) under "Panes\<profile>", key
// "DockablePaneAdapter-<index>" (see ZnBasePane::SaveState).
#include "docking/ZnDockablePane.h"
#include "frame/Kestrel5Api.h"

class KSAPI ZnDockablePaneAdapter : public ZnDockablePane
{
    DECLARE_DYNCREATE(ZnDockablePaneAdapter)
public:
    explicit ZnDockablePaneAdapter(ZnDockParentWnd *pDockParentWnd = nullptr);

    // Takes pWnd in as the content (a window that has no pane yet); the
    // window wrapped before is let go to the pane's parent. False without
    // a pane window or a window to wrap.
    virtual bool SetWrappedWnd(CWnd *pWnd);
    CWnd *GetWrappedWnd() const { return m_pWnd; }

    bool SaveState(char const *lpszProfileName = nullptr, int nIndex = -1, unsigned int uiID = 0xFFFFFFFF) override;
    bool LoadState(char const *lpszProfileName = nullptr, int nIndex = -1, unsigned int uiID = 0xFFFFFFFF) override;

protected:
    void OnSize(unsigned int nType, int cx, int cy) override;
    void OnDestroy() override;

private:
    void FitWrapped();
    CWnd *m_pWnd = nullptr;
};
