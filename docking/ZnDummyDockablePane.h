#pragma once
// A pane without content and without a window. Auto-hide leaves one in the
// container of a pane it pins off: it keeps the pane's half (and so the
// container's split and the group) while taking no room, and the pane takes
// its place again when it is unpinned.
#include "docking/ZnDockablePane.h"

class KSAPI ZnDummyDockablePane : public ZnDockablePane
{
    DECLARE_DYNCREATE(ZnDummyDockablePane)
public:
    ZnDummyDockablePane() = default;

    // Never shown: a layout gives it no room.
    bool IsPaneVisible() const override { return false; }
    void ShowPane(bool, bool, bool) override {}
};
