#pragma once
// A dock parent window of 800 x 600 under top, with its free-space canvas
// and n panes ("paneA", "paneB" … titled "Pane A" …), each link of the
// callbacks the docking tests listen to counted or recorded, and a fuzzer
// world over it.
#include <memory>
#include <vector>

#include "docking/DockParentCallBacks.h"
#include "docking/DockParentWindow.h"
#include "docking/ZnDockParentWnd.h"
#include "docking/ZnDockablePane.h"
#include "tests/support/DockOperations.h"
#include "tests/support/LinkCounter.h"
#include "window/Window.h"

namespace kstest {

struct DockHost
{
    DockParentWindow host;
    Window canvas;
    std::vector<std::unique_ptr<Window>> panes;
    LinkCounter layout, begin, removed, shown;
    LinkRecorder close, beforeFloat;
    DockWorld world;

    DockHost(Window *top, int n) : host(top, 0), canvas(&host, 0, 0)
    {
        host.SetPosSizePixel(Point(0, 0), Size(800, 600));
        host.Show();
        canvas.Show();
        Dp()->SetPFreeSpaceWnd(canvas.GetPCWnd());
        DockParentCallBacks cb;
        cb.aLayoutChangeHdl = layout.GetLink();
        cb.aBeginResizesHdl = begin.GetLink();
        cb.aPostCloseHdl = close.GetLink();
        cb.aRemovePaneHdl = removed.GetLink();
        cb.aShowPaneHdl = shown.GetLink();
        cb.aBeforeFloatHdl = beforeFloat.GetLink();
        Dp()->SetCallBacks(cb);
        for (int i = 0; i < n; ++i) {
            panes.push_back(std::make_unique<Window>(&host, 0, 0x400000));
            P(i)->SetInternalName(SString("pane") + char('A' + i));
            P(i)->SetWindowText((SString("Pane ") + char('A' + i)).GetStr());
            world.panes.push_back(P(i));
        }
        world.mgr = Mgr();
        world.resize = [this](int cx, int cy) { host.SetPosSizePixel(Point(0, 0), Size(cx, cy)); };
    }
    DockHost(DockHost const &) = delete;
    DockHost &operator=(DockHost const &) = delete;
    ZnDockParentWnd *Dp() { return host.GetPDockParentWnd(); }
    ZnDockingManager *Mgr() { return Dp()->GetPDockingManager(); }
    ZnDockablePane *P(int i) { return static_cast<ZnDockablePane *>(panes[size_t(i)]->GetPCWnd()); }
};

} // namespace kstest
