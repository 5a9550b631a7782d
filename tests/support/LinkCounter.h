#pragma once
// A link target that counts its calls: the click, hold and end-of-scroll
// links of the control tests need no more than that.
#include "frame/Link.h"

namespace kstest {

class LinkCounter : public LinkHdl
{
public:
    int calls = 0;
    __int64 On(void *) { return ++calls, 0; }
    Link GetLink() { return Link(this, &LinkCounter::On); }
};

} // namespace kstest
