#pragma once
// A pane that users dock, float, tab, pin and hide. This is the part the
// layout model needs: the internal name that layouts and positions use as
// the pane's key, its window text, its remembered dock position and floating
// rectangle, and the length it should have in its pane container. The
// docking engine adds the window behaviour on top without changing these.
#include "docking/DockPosition.h"
#include "frame/Kestrel5Api.h"
#include "graphics/CRectangle.h"
#include "mfc/CWnd.h"
#include "text/SString.h"

class Window;
class ZnDockParentWnd;

class KSAPI ZnDockablePane : public CWnd
{
public:
    explicit ZnDockablePane(ZnDockParentWnd *pDockParentWnd = nullptr);
    ~ZnDockablePane() override;

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

    // Records len as the length the pane should have in its pane container
    // (GetSizeInContainer) and answers whether a container divider could be
    // moved for it now: false while the pane is not inside a container,
    // which leaves the layout unchanged.
    bool SetSizeInContainer(int len);
    int GetSizeInContainer() const { return m_nSizeInContainer; }

    int GetLastPercentInPaneContainer() const { return m_nLastPercentInPaneContainer; }
    void SetLastPercentInPaneContainer(int percent) { m_nLastPercentInPaneContainer = percent; }

    // The window's text once the window exists, the text set before
    // otherwise: models name panes by it before their windows are created.
    using CWnd::GetWindowText;
    SString GetWindowText() const;
    void SetWindowText(char const *text);

private:
    ZnDockParentWnd *m_pDockParentWnd;
    Window *m_pDockedWin;
    DockPosition m_recentDockPosition;
    SString m_sInternalName;
    SString m_sWindowText;
    CRectangle m_rectRecentFloat;
    int m_nSizeInContainer;
    int m_nLastPercentInPaneContainer;
};
