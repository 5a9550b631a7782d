#pragma once
#include "frame/Kestrel5Api.h"
#include "text/SString.h"

#include <vector>

// What the list asks of the application for one item or cell: the draw-list-
// item link fills the parts nMask names (0x1 text, 0x2 image, 0x200 the
// columns shown under a tile).
class KSAPI ListItemCallBackData
{
public:
    ListItemCallBackData(int nMask, int nItem, int nSubItem);

    int nImage;
    SString aText;
    std::vector<int> aColumns;
    unsigned int nMask;
    int nItem;
    int nSubItem;
};
