#pragma once
// A bar on one edge of a dock site that holds the buttons of pinned-off
// panes: one button per pane, in the order they were pinned. A pane pinned
// alone gets a bar of its own; a group pinned at once shares one. The bar
// lives in the auto-hide dock site of its edge, which lays the bars of that
// edge out one after another; a press on a button slides its pane out over
// the site, a second press slides it back.
#include <vector>

#include "docking/ZnPane.h"
#include "frame/Kestrel5Api.h"

class ZnAutoHideButton;
class ZnAutoHideDockSite;
class ZnDockablePane;

class KSAPI ZnAutoHideBar : public ZnPane
{
    DECLARE_DYNCREATE(ZnAutoHideBar)
public:
    ZnAutoHideBar();
    ~ZnAutoHideBar() override;

    // The depth of every bar across its edge: 24 pixels at 96 DPI.
    static int GetBarThickness();
    // The gap between two bars of one edge and between two buttons of a bar.
    static int GetBarGap();
    static int GetButtonGap();

    // A child window of pParentWnd (the auto-hide dock site's window) for
    // edge dwAlign; without a parent window the bar is only arithmetic.
    virtual bool Create(CWnd *pParentWnd, unsigned long dwAlign);

    ZnAutoHideDockSite *GetParentDockSite() const { return m_pParentDockSite; }
    void SetParentDockSite(ZnAutoHideDockSite *pSite) { m_pParentDockSite = pSite; }

    // A new button for pPane at the end of the bar; null when the pane has
    // one on this bar already.
    ZnAutoHideButton *AddAutoHideWindow(ZnDockablePane *pPane, unsigned long dwAlign);
    // Deletes the pane's button; false when the bar has none for it.
    bool RemoveAutoHideWindow(ZnDockablePane *pPane);
    int GetCount() const { return int(m_buttons.size()); }
    ZnAutoHideButton *GetButton(int i) const { return m_buttons[size_t(i)]; }
    ZnAutoHideButton *FindButton(ZnDockablePane const *pPane) const;
    ZnDockablePane *GetFirstAHWindow() const;
    // The button under a point in the bar's client coordinates, or null.
    ZnAutoHideButton *ButtonFromPoint(CPoint pt) const;

    // The bar's length along its edge: its shown buttons and the gaps
    // between; 0 when none shows.
    int GetLength() const;
    // Places the buttons inside the bar's layout rectangle.
    void LayoutButtons();

    // A press on the button of pPane: slides it out, or back when it is out.
    virtual void OnPressButton(ZnAutoHideButton *pBtn);

protected:
    LRESULT WindowProc(unsigned int message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;

private:
    void SetHot(ZnAutoHideButton *pBtn);

    std::vector<ZnAutoHideButton *> m_buttons;
    ZnAutoHideDockSite *m_pParentDockSite;
    ZnAutoHideButton *m_pHot;
};
