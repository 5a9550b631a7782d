#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CWnd.h"

// The splitter bar between docked panes. For now it only knows its default
// width, against which every tolerance of the layout model is measured; the
// docking engine gives it its window and its moves.
class KSAPI ZnPaneDivider : public CWnd
{
public:
    ZnPaneDivider() = default;

    // 6 pixels at 96 DPI, scaled to the screen's vertical resolution; 6 while
    // the library is not started, so that models can be built before KSInit.
    static int GetDefaultWidth();
};
