#pragma once
#include "frame/Kestrel5Api.h"

// Base of every class whose member functions may stand in a Link. Links keep
// the object as a LinkHdl*, so derive from it first, by single non-virtual
// inheritance: then no pointer adjustment is ever needed.
class KSAPI LinkHdl
{
public:
    virtual ~LinkHdl();
};
