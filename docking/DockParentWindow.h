#pragma once
// The owner-side window of a dock parent: a Window whose platform window is
// a ZnDockParentWnd. Panes are Windows of kind 0x400000 made with it as
// their parent; any other child Window can be its free space.
//
//     DockParentWindow host(&frame, 0);
//     Window canvas(&host, 0);
//     host.GetPDockParentWnd()->SetPFreeSpaceWnd(canvas.GetPCWnd());
//     Window pane(&host, 0, 0x400000);
//     host.GetPDockParentWnd()->GetPDockingManager()->DockIntoParent(
//         static_cast<ZnDockablePane *>(pane.GetPCWnd()), 0x1000, 200, true);
#include "frame/Kestrel5Api.h"
#include "window/Window.h"

class ZnDockParentWnd;

class KSAPI DockParentWindow : public Window
{
public:
    DockParentWindow(Window *pParent, int nStyle);
    ~DockParentWindow() override;

    ZnDockParentWnd *GetPDockParentWnd() const;

    // --- Hiding and showing panes by their content window: a hidden pane
    // remembers its place and comes back there. False when the window is no
    // pane's content here or the owner refused.
    bool HidePane(Window *pContent);
    bool ShowPane(Window *pContent);
};
