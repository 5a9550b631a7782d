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

// A link target that also keeps the last argument and answers a set value.
class LinkRecorder : public LinkHdl
{
public:
    int calls = 0;
    void *last = nullptr;
    __int64 answer = 0;
    __int64 On(void *p) { return last = p, ++calls, answer; }
    Link GetLink() { return Link(this, &LinkRecorder::On); }
};

} // namespace kstest
