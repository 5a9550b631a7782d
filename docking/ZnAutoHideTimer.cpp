#include "docking/ZnAutoHideTimer.h"

#include "docking/ZnDockablePane.h"

bool ZnAutoHideTimer::Begin(unsigned long nMs)
{
    Start(Link(this, &ZnAutoHideTimer::Tick), nMs ? nMs : 1);
    return IsActive();
}

__int64 ZnAutoHideTimer::Tick(void *)
{
    bool const done = m_eKind == Slide ? m_pPane->OnSlideTick() : m_pPane->CheckAutoHideCondition();
    if (done && m_eKind == Slide)
        Stop();
    return 0;
}
