#pragma once
#include "frame/CWindowMap.h"

// Window handle of a child control to the object that handles its
// notifications.
class KSAPI CControlMap : public CWindowMap
{
public:
    CControlMap();
};
