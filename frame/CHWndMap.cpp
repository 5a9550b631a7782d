#include "frame/CHWndMap.h"

CHWndMap::CHWndMap() : CMapPtrToPtr(20)
{
    InitHashTable(1259);
}
