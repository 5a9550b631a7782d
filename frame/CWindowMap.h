#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CMapPtrToPtr.h"

// A pointer map of the router: blocks of 20 associations and 1,259 buckets,
// made at construction, since a program has hundreds of windows.
class KSAPI CWindowMap : public CMapPtrToPtr
{
public:
    CWindowMap();
};
