#pragma once
// Whether a new pane is laid out side by side with others (horizontal) or
// stacked (vertical). Dock positions accept it for the docking engine's sake;
// the position itself stores nothing of it.
enum DockOrientation
{
    DockOrientationNone = 0,
    DockOrientationHorizontal = 1,
    DockOrientationVertical = 2
};
