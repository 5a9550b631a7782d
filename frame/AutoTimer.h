#pragma once
#include "frame/Kestrel5Api.h"
#include "frame/Timer.h"

// A Timer that starts itself again after every time-out.
class KSAPI AutoTimer : public Timer
{
public:
    AutoTimer();
    AutoTimer(AutoTimer const &other);
    AutoTimer &operator=(AutoTimer const &other);
    ~AutoTimer() override;
};
