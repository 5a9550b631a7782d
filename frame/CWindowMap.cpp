#include "frame/CWindowMap.h"

CWindowMap::CWindowMap() : CMapPtrToPtr(20)
{
    InitHashTable(1259);
}
