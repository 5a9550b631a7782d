#pragma once
// The side of a dock element on which a neighbour lies.
enum NeighbourType
{
    NT_NONE = 0,
    NT_LEFT = 1,
    NT_RIGHT = 2,
    NT_TOP = 3,
    NT_BOTTOM = 4
};
