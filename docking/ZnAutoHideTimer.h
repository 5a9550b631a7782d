#pragma once
// The two clocks of an auto-hidden pane: the steps of a slide and the
// watch that slides a pane back once the mouse has left it. A Timer of the
// library's engine, repeating, that calls one pane member; a slide stops when the
// member answers true. Without the engine (before KSInit) it never starts,
// and the pane then does at once what the clock would have paced.
#include "frame/Kestrel5Api.h"
#include "frame/AutoTimer.h"

class ZnDockablePane;

class KSAPI ZnAutoHideTimer : public AutoTimer
{
public:
    enum Kind { Slide, Watch };
    ZnAutoHideTimer(ZnDockablePane *pPane, Kind eKind) : m_pPane(pPane), m_eKind(eKind) {}
    ZnAutoHideTimer(ZnAutoHideTimer const &) = delete;
    ZnAutoHideTimer &operator=(ZnAutoHideTimer const &) = delete;

    // Starts ticking every nMs; false when no engine runs timers.
    bool Begin(unsigned long nMs);

private:
    __int64 Tick(void *);
    ZnDockablePane *m_pPane;
    Kind m_eKind;
};
