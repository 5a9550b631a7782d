#pragma once
// The kind of a layout element. The numbers are stored in layout records, so
// they never change.
enum DockElementType : int
{
    DET_FREE_SPACE_ELEMENT = 1,
    DET_DOCK_PANE_ELEMENT = 2,
    DET_FLOATING_PANE_ELEMENT = 3,
    DET_HOLDER_ELEMENT = 4,
    DET_HIDDEN_PANE_ELEMENT = 5,
};
