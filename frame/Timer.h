#pragma once
#include "frame/Kestrel5Api.h"
#include "frame/Link.h"
#include "frame/LinkHdl.h"

class TimerManager;

// A time-out delivered through a link. Every timer of the process is driven
// by one engine (TimerManager) on one platform timer; the link is called on
// the thread whose message loop runs that platform timer, with the Timer* as
// argument.
//
// Start and Stop may be called from any thread. Without KSInit there is no
// engine to drive a timer: Start then leaves it inactive.
class KSAPI Timer : public LinkHdl
{
public:
    Timer();
    // A new id and inactive; started when the source is active.
    Timer(Timer const &other);
    // Link, timeout and repetition are copied, the id stays; this timer ends
    // up active exactly when the source is.
    Timer &operator=(Timer const &other);
    ~Timer() override;

    void Start();
    void Start(unsigned long nNewTimeout);
    void Start(Link const &aLink, unsigned long nNewTimeout);
    void Stop();

    // Returns the previous timeout. A running timer keeps its start time;
    // a shorter timeout shortens the engine's period at once.
    unsigned long ChangeTimeout(unsigned long nNewTimeout);
    // Returns the previous link.
    Link ChangeTimeoutHdl(Link const &aLink);

    unsigned long GetTimeout() const { return nTimeout; }
    Link GetTimeoutHdl();
    bool IsActive() const;
    unsigned int GetNId() const { return nId; }

protected:
    // For callers that fire the timer themselves; the engine calls the link
    // directly and never comes through here.
    virtual void Timeout();

private:
    friend class TimerManager;
    friend class AutoTimer;

    Link aTimeoutHdl;
    unsigned long nTimeout;
    bool bActive;
    bool bAutoRepeat;
    unsigned int nId;

    static unsigned int s_nTimerId;
};
