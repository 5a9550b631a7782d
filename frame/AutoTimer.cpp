#include "frame/AutoTimer.h"

AutoTimer::AutoTimer() : Timer()
{
    bAutoRepeat = true;
}

AutoTimer::AutoTimer(AutoTimer const &other) : Timer(other)
{
    bAutoRepeat = true;
}

AutoTimer &AutoTimer::operator=(AutoTimer const &other)
{
    Timer::operator=(other);
    return *this;
}

AutoTimer::~AutoTimer() = default;
