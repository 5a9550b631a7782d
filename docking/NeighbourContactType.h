#pragma once
// How the facing sides of two neighbouring dock elements meet. Persisted as
// an int32 in neighbour records, so the values must never change.
enum NeighbourContactType
{
    NCT_NONE = 0,
    NCT_TOUCHING_SIDE = 1,  // the sides touch, neither end is flush
    NCT_JUSTIFIED_SIDE = 2, // one end is flush
    NCT_EQUAL_SIDE = 3      // both ends are flush
};
