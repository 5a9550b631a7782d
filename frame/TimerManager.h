#pragma once
#include "frame/Kestrel5Api.h"
#include "frame/Link.h"

#include <vector>

class Container;
class Timer;
struct HWND__;
struct _RTL_CRITICAL_SECTION;

// The engine behind every Timer of the process: one platform thread timer
// whose period follows the nearest pending expiry, and one entry per started
// timer. KSData owns it (m_pTimerManager); the first Timer::Start creates it.
//
// The entry list is guarded by a critical section, so timers may be started
// and stopped from any thread; links are called outside it, on the thread
// that runs the platform timer. That timer stays with the thread that set it
// as long as it runs: another thread cannot reset a thread timer it does not
// own, so a shorter period it asks for is taken up by the owner's next pass.
//
// Timers stopped or deleted while a pass runs keep their entry, marked, until
// the pass ends; the pass checks the mark before every call, so a handler may
// stop or delete any timer, its own included.
// The longest period of the platform timer, and its period while none runs.
constexpr unsigned long TIMER_MAX_INTERVAL = 65533;

class KSAPI TimerManager
{
public:
    // bCanHiRes: whether the performance counter may drive the clock.
    explicit TimerManager(bool bCanHiRes);
    // Frees the remaining entries (their timers become inactive) and kills
    // the platform timer.
    ~TimerManager();
    TimerManager(TimerManager const &) = delete;
    TimerManager &operator=(TimerManager const &) = delete;

    // The engine of the running library; null before the first start and
    // without KSInit.
    static TimerManager *GetTimerManager();

    // The work of Timer::Start, Stop, ChangeTimeout and ChangeTimeoutHdl.
    void InsertTimer(Timer *pTimer);
    void RemoveTimer(Timer *pTimer);
    unsigned long ChangeTimeout(Timer *pTimer, unsigned long nNewTimeout);
    Link ChangeTimeoutHdl(Timer *pTimer, Link const &aLink);

    // One dispatch pass: what the platform timer runs on every period.
    // Returns at once when a pass is already running (a handler's modal loop).
    void Dispatch();

    // The engine's clock in milliseconds (low 32 bits).
    unsigned long GetTime() const;
    // Period of the platform timer: 0xFFFFFFFF before the first one,
    // TIMER_MAX_INTERVAL when none runs.
    unsigned long GetInterval() const;
    // 0 when no platform timer runs.
    unsigned short GetPlatformTimerId() const;
    bool IsHiRes() const { return bHiRes; }
    bool IsDispatching() const;
    // Started timers, not counting those whose entry waits for the end of
    // the running pass to be freed.
    unsigned long GetTimerCount() const;

private:
    friend class Timer;

    struct Entry;
    struct DueLink
    {
        Link aLink;
        Entry *pEntry;
    };

    // Creates the engine in KSData when there is none; null without KSInit.
    static TimerManager *CreateTimerManager();
    static void __stdcall TimerProc(HWND__ *hWnd, unsigned int nMsg, unsigned long long nIdEvent,
                                    unsigned long nTime);

    Entry *FindEntry(Timer const *pTimer) const;
    void EndPass();
    void Reschedule(unsigned long nPeriod);
    void KillPlatformTimer();

    Container *pEntries;
    unsigned long nInterval;
    unsigned short nPlatformTimerId;
    bool bDispatching;
    bool bHiRes;
    __int64 nFrequency;
    _RTL_CRITICAL_SECTION *pLock;

    unsigned long nOwnerThread; // the thread whose timer nPlatformTimerId is
    std::vector<DueLink> aDue;  // kept between passes to spare allocations
    std::vector<Entry *> aKeep;
};
