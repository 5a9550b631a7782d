#pragma once
// The strip along one edge of a dock site that holds the auto-hide bars of
// that edge. It is the outermost thing on its side: the docked groups and
// the free space lie inside it. Without bars it is as thin as nothing (and
// hidden); with bars it is one bar deep and lays them out one after
// another from the start of its edge (the left or top end).
#include <vector>

#include "docking/ZnDockSite.h"
#include "frame/Kestrel5Api.h"

class ZnAutoHideBar;

class KSAPI ZnAutoHideDockSite : public ZnDockSite
{
    DECLARE_DYNCREATE(ZnAutoHideDockSite)
public:
    ZnAutoHideDockSite() = default;
    // Deletes its bars.
    ~ZnAutoHideDockSite() override;

    int GetThickness() const override;

    // The site takes the bar over; RemoveAutoHideBar hands it back.
    void AddAutoHideBar(ZnAutoHideBar *pBar);
    bool RemoveAutoHideBar(ZnAutoHideBar *pBar);
    std::vector<ZnAutoHideBar *> const &GetAutoHideBars() const { return m_bars; }

    // Lays the bars out inside the site's layout rectangle: each bar's
    // layout rectangle (dock-site client coordinates) and its buttons.
    void LayoutBars();

protected:
    bool OnEraseBkgnd(HDC hDC) override;

private:
    std::vector<ZnAutoHideBar *> m_bars;
};
