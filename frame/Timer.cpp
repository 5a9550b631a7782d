#include "frame/Timer.h"

#include "frame/TimerManager.h"

unsigned int Timer::s_nTimerId = 0;

namespace {

// Timers are made on any thread; ids must stay unique all the same.
unsigned int NextId(unsigned int &counter)
{
    return __atomic_add_fetch(&counter, 1u, __ATOMIC_RELAXED);
}

} // namespace

Timer::Timer()
    : aTimeoutHdl(), nTimeout(1), bActive(false), bAutoRepeat(false), nId(NextId(s_nTimerId))
{
}

Timer::Timer(Timer const &other)
    : LinkHdl(), aTimeoutHdl(other.aTimeoutHdl), nTimeout(other.nTimeout), bActive(false),
      bAutoRepeat(other.bAutoRepeat), nId(NextId(s_nTimerId))
{
    if (other.IsActive())
        Start();
}

Timer &Timer::operator=(Timer const &other)
{
    // Stopping first would make a self-assigned timer copy its own stopped
    // state; it is left as it is instead.
    if (this == &other)
        return *this;
    if (IsActive())
        Stop();
    aTimeoutHdl = other.aTimeoutHdl;
    nTimeout = other.nTimeout;
    bAutoRepeat = other.bAutoRepeat;
    if (other.IsActive())
        Start();
    return *this;
}

Timer::~Timer()
{
    Stop();
}

void Timer::Start()
{
    // Without KSInit there is no engine and no one to own it: the timer
    // stays inactive rather than pretend to run.
    if (TimerManager *pManager = TimerManager::CreateTimerManager())
        pManager->InsertTimer(this);
}

void Timer::Start(unsigned long nNewTimeout)
{
    ChangeTimeout(nNewTimeout);
    Start();
}

void Timer::Start(Link const &aLink, unsigned long nNewTimeout)
{
    ChangeTimeout(nNewTimeout);
    ChangeTimeoutHdl(aLink);
    Start();
}

void Timer::Stop()
{
    if (TimerManager *pManager = TimerManager::GetTimerManager())
        pManager->RemoveTimer(this);
    __atomic_store_n(&bActive, false, __ATOMIC_RELEASE);
}

unsigned long Timer::ChangeTimeout(unsigned long nNewTimeout)
{
    // With an engine the fields change under its lock: a pass on another
    // thread may be reading them.
    if (TimerManager *pManager = TimerManager::GetTimerManager())
        return pManager->ChangeTimeout(this, nNewTimeout);
    unsigned long const nOld = nTimeout;
    nTimeout = nNewTimeout;
    return nOld;
}

Link Timer::ChangeTimeoutHdl(Link const &aLink)
{
    if (TimerManager *pManager = TimerManager::GetTimerManager())
        return pManager->ChangeTimeoutHdl(this, aLink);
    Link const aOld = aTimeoutHdl;
    aTimeoutHdl = aLink;
    return aOld;
}

Link Timer::GetTimeoutHdl()
{
    return aTimeoutHdl;
}

bool Timer::IsActive() const
{
    return __atomic_load_n(&bActive, __ATOMIC_ACQUIRE);
}

void Timer::Timeout()
{
    aTimeoutHdl.Call(this);
}
