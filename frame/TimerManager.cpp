#include "frame/TimerManager.h"

#include "base/Container.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "frame/Timer.h"
#include "graphics/DCManager.h"

#include <memory>
#include <windows.h>

// bStopped is read by the pass outside the lock, between two handler calls;
// every other field of an entry is only touched under the lock.
struct TimerManager::Entry
{
    Timer *pTimer;
    unsigned long nStart; // engine time of the last start or expiry
    bool bNew;            // started while a pass ran: that pass skips it
    bool bRemove;         // freed at the end of the running pass
    bool bStopped;        // stopped while a pass ran: not called any more
};

namespace {

class LockGuard
{
public:
    explicit LockGuard(CRITICAL_SECTION *pLock) : m_pLock(pLock) { EnterCriticalSection(m_pLock); }
    ~LockGuard() { LeaveCriticalSection(m_pLock); }
    LockGuard(LockGuard const &) = delete;
    LockGuard &operator=(LockGuard const &) = delete;

private:
    CRITICAL_SECTION *m_pLock;
};

bool LoadFlag(bool const &b)
{
    return __atomic_load_n(&b, __ATOMIC_ACQUIRE);
}

void StoreFlag(bool &b, bool v)
{
    __atomic_store_n(&b, v, __ATOMIC_RELEASE);
}

} // namespace

TimerManager::TimerManager(bool bCanHiRes)
    : pEntries(nullptr), nInterval(0xFFFFFFFFUL), nPlatformTimerId(0), bDispatching(false),
      bHiRes(false), nFrequency(0), pLock(nullptr), nOwnerThread(0)
{
    auto entries = std::make_unique<Container>(16, 8, 8);
    auto lock = std::make_unique<CRITICAL_SECTION>();
    InitializeCriticalSection(lock.get());
    pEntries = entries.release();
    pLock = lock.release();

    LARGE_INTEGER f;
    if (bCanHiRes && QueryPerformanceFrequency(&f) && f.QuadPart > 0) {
        bHiRes = true;
        nFrequency = f.QuadPart;
    }
}

TimerManager::~TimerManager()
{
    {
        LockGuard g(pLock);
        for (void *p = pEntries->First(); p; p = pEntries->Next()) {
            Entry *e = static_cast<Entry *>(p);
            // A stopped entry may belong to a timer that was deleted already.
            if (e->pTimer && !e->bStopped)
                StoreFlag(e->pTimer->bActive, false);
            delete e;
        }
        pEntries->Clear();
        KillPlatformTimer();
    }
    delete pEntries;
    DeleteCriticalSection(pLock);
    delete pLock;
}

TimerManager *TimerManager::GetTimerManager()
{
    KSData *pData = GetPKSData();
    return pData ? __atomic_load_n(&pData->m_pTimerManager, __ATOMIC_ACQUIRE) : nullptr;
}

TimerManager *TimerManager::CreateTimerManager()
{
    KSData *pData = GetPKSData();
    if (!pData)
        return nullptr;
    TimerManager *pManager = __atomic_load_n(&pData->m_pTimerManager, __ATOMIC_ACQUIRE);
    if (pManager)
        return pManager;
    // Two threads may start their first timers at once: one engine wins, the
    // other, which has not touched any platform timer yet, is dropped.
    auto fresh = std::make_unique<TimerManager>(pData->CanHiResTimer());
    TimerManager *expected = nullptr;
    if (__atomic_compare_exchange_n(&pData->m_pTimerManager, &expected, fresh.get(), false,
                                    __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE))
        return fresh.release();
    return expected;
}

unsigned long TimerManager::GetTime() const
{
    if (bHiRes) {
        LARGE_INTEGER c;
        QueryPerformanceCounter(&c);
        double const ms = double(c.QuadPart) / double(nFrequency) * 1000.0;
        return static_cast<unsigned long>(static_cast<unsigned long long>(ms));
    }
    return GetTickCount();
}

unsigned long TimerManager::GetInterval() const
{
    LockGuard g(pLock);
    return nInterval;
}

unsigned short TimerManager::GetPlatformTimerId() const
{
    LockGuard g(pLock);
    return nPlatformTimerId;
}

bool TimerManager::IsDispatching() const
{
    LockGuard g(pLock);
    return bDispatching;
}

unsigned long TimerManager::GetTimerCount() const
{
    LockGuard g(pLock);
    unsigned long n = 0;
    for (void *p = pEntries->First(); p; p = pEntries->Next())
        if (!static_cast<Entry *>(p)->bRemove)
            ++n;
    return n;
}

// Leaves the container's cursor on the entry found. Stopped entries are dead:
// a timer stopped during a pass and started again gets a fresh entry, so the
// pass that collected the old one cannot call it — not even when the timer
// was deleted and a new one now lives at its address.
TimerManager::Entry *TimerManager::FindEntry(Timer const *pTimer) const
{
    for (void *p = pEntries->First(); p; p = pEntries->Next()) {
        Entry *e = static_cast<Entry *>(p);
        if (e->pTimer == pTimer && !e->bStopped)
            return e;
    }
    return nullptr;
}

void TimerManager::InsertTimer(Timer *pTimer)
{
    if (!pTimer)
        return;
    LockGuard g(pLock);
    unsigned long const now = GetTime();
    if (Entry *e = FindEntry(pTimer)) {
        e->nStart = now;
        e->bNew = bDispatching;
        e->bRemove = false;
    } else {
        auto fresh = std::make_unique<Entry>(Entry{pTimer, now, bDispatching, false, false});
        pEntries->Insert(fresh.get(), pEntries->Count());
        fresh.release();
        // With no platform timer running (none yet, or the last one died
        // with an empty list) the period is set whatever it says.
        if (pTimer->nTimeout < nInterval || nPlatformTimerId == 0)
            Reschedule(pTimer->nTimeout);
    }
    StoreFlag(pTimer->bActive, true);
}

void TimerManager::RemoveTimer(Timer *pTimer)
{
    if (!pTimer)
        return;
    LockGuard g(pLock);
    if (Entry *e = FindEntry(pTimer)) {
        StoreFlag(e->bStopped, true);
        if (bDispatching) {
            // The running pass holds the entry in its list of due links.
            e->bRemove = true;
        } else {
            pEntries->Remove();
            delete e;
        }
    }
    StoreFlag(pTimer->bActive, false);
    if (pEntries->Count() == 0)
        KillPlatformTimer();
}

unsigned long TimerManager::ChangeTimeout(Timer *pTimer, unsigned long nNewTimeout)
{
    if (!pTimer)
        return 0;
    LockGuard g(pLock);
    unsigned long const nOld = pTimer->nTimeout;
    pTimer->nTimeout = nNewTimeout;
    if (pTimer->bActive && (nNewTimeout < nInterval || nPlatformTimerId == 0) && FindEntry(pTimer))
        Reschedule(nNewTimeout);
    return nOld;
}

Link TimerManager::ChangeTimeoutHdl(Timer *pTimer, Link const &aLink)
{
    if (!pTimer)
        return Link();
    LockGuard g(pLock);
    Link const aOld = pTimer->aTimeoutHdl;
    pTimer->aTimeoutHdl = aLink;
    return aOld;
}

void TimerManager::Reschedule(unsigned long nPeriod)
{
    if (nPeriod == 0)
        nPeriod = 1;
    else if (nPeriod > TIMER_MAX_INTERVAL)
        nPeriod = TIMER_MAX_INTERVAL;
    if (nPlatformTimerId != 0) {
        if (nPeriod == nInterval)
            return;
        // A thread timer can only be reset by its own thread. The owner's
        // next pass derives the period from the entries again, the new one
        // included, so nothing is lost but the wait until that pass.
        if (nOwnerThread != GetCurrentThreadId())
            return;
        KillTimer(nullptr, nPlatformTimerId);
        nPlatformTimerId = 0;
    }
    nInterval = nPeriod;
    UINT_PTR const id = SetTimer(nullptr, 0, nPeriod, TimerProc);
    // Thread timer ids are 16-bit numbers on this platform; one that is not
    // could never be matched or killed again, so it is not kept.
    if (id > 0xFFFF) {
        KillTimer(nullptr, id);
        nPlatformTimerId = 0;
        nOwnerThread = 0;
        return;
    }
    nPlatformTimerId = static_cast<unsigned short>(id);
    nOwnerThread = id ? GetCurrentThreadId() : 0;
}

void TimerManager::KillPlatformTimer()
{
    // Thread timer ids are numbered per thread: on another thread the same
    // id may be someone else's timer. The owner's timer procedure finds the
    // id no longer current and kills the timer itself.
    if (nPlatformTimerId != 0 && nOwnerThread == GetCurrentThreadId())
        KillTimer(nullptr, nPlatformTimerId);
    nPlatformTimerId = 0;
    nInterval = TIMER_MAX_INTERVAL;
    nOwnerThread = 0;
}

void TimerManager::Dispatch()
{
    {
        LockGuard g(pLock);
        // A handler's modal loop dispatches the timer message again: every
        // timer waits until the outer pass is over.
        if (bDispatching)
            return;
        // Reserved before the pass starts, so that collecting cannot throw
        // half-way through.
        aDue.reserve(pEntries->Count());
        bDispatching = true;
        aDue.clear();
        // Read under the lock: every start time is then at or before now.
        unsigned long const now = GetTime();
        for (void *p = pEntries->First(); p; p = pEntries->Next()) {
            Entry *e = static_cast<Entry *>(p);
            if (e->bNew || e->bRemove || e->bStopped || !e->pTimer)
                continue;
            Timer *t = e->pTimer;
            // Elapsed time rather than start + timeout: stays right when the
            // 32-bit clock wraps.
            if (now - e->nStart < t->nTimeout)
                continue;
            e->nStart = now;
            if (!t->bAutoRepeat) {
                // Before the link runs, so that its handler may start it again.
                StoreFlag(t->bActive, false);
                e->bRemove = true;
            }
            aDue.push_back(DueLink{t->aTimeoutHdl, e});
        }
    }

    // The pass is closed even when a handler throws: the engine must not be
    // left believing a pass is running.
    struct PassEnd
    {
        TimerManager *m;
        ~PassEnd() { m->EndPass(); }
    } end{this};

    for (DueLink const &d : aDue) {
        // A handler earlier in this pass may have stopped or deleted it.
        if (LoadFlag(d.pEntry->bStopped))
            continue;
        d.aLink.Call(d.pEntry->pTimer);
    }
}

void TimerManager::EndPass()
{
    LockGuard g(pLock);
    // Measured after the handlers ran, so that slow handlers do not push the
    // next expiry further out.
    unsigned long const now = GetTime();
    unsigned long nWait = 0xFFFFFFFFUL;

    // Backwards, because removing the current entry leaves the container's
    // cursor on either neighbour; the successor is known, so either case is
    // told apart without a second list.
    Entry *pSucc = nullptr;
    void *p = pEntries->Last();
    while (p) {
        Entry *e = static_cast<Entry *>(p);
        if (e->bRemove) {
            pEntries->Remove();
            delete e;
            if (pEntries->Count() == 0)
                break;
            void *cur = pEntries->GetCurObject();
            p = (pSucc && cur == pSucc) ? pEntries->Prev() : cur;
            continue;
        }
        e->bNew = false;
        unsigned long const nTimeout = e->pTimer ? e->pTimer->nTimeout : 0;
        unsigned long const nElapsed = now - e->nStart;
        // An entry due already (timeout 0) asks for the shortest period.
        unsigned long const nLeft = nElapsed < nTimeout ? nTimeout - nElapsed : 0;
        if (nLeft < nWait)
            nWait = nLeft;
        pSucc = e;
        p = pEntries->Prev();
    }

    if (pEntries->Count() != 0)
        Reschedule(nWait);
    else
        KillPlatformTimer();
    bDispatching = false;
}

void __stdcall TimerManager::TimerProc(HWND__ *, unsigned int, unsigned long long nIdEvent, unsigned long)
{
    TimerManager *pManager = GetTimerManager();
    bool bCurrent = false;
    if (pManager) {
        LockGuard g(pManager->pLock);
        bCurrent = nIdEvent == pManager->nPlatformTimerId && pManager->nOwnerThread == GetCurrentThreadId();
    }
    if (bCurrent)
        pManager->Dispatch();
    else
        // A timer the engine gave up from another thread, or one that
        // outlived its engine: only this thread can kill it.
        KillTimer(nullptr, static_cast<UINT_PTR>(nIdEvent));

    // Released after every tick as the router does after every message.
    if (KSData *data = GetPKSData(); data && data->m_pDCManager)
        data->m_pDCManager->DeleteDC();
}
