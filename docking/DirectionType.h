#pragma once
// Whether two elements lie beside each other (horizontal) or one above the
// other (vertical), judged by their centres.
enum DirectionType : int
{
    DT_UNDETERMINED = 0,
    DT_HORIZONTAL = 1,
    DT_VERTICAL = 2,
};
