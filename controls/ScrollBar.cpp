#include "controls/ScrollBar.h"
#include "controls/ZnScrollBar.h"
#include "graphics/Texture.h"
#include "frame/KSData.h"
#include "frame/KSGlobal.h"
#include "frame/WinMsgRouter.h"

#include <windows.h>

namespace {
bool SameRange(Range const &a, Range const &b)
{
    return a.Min() == b.Min() && a.Max() == b.Max();
}
int const kScrollBarId = 1676;
Range const kInitialRange(0, 500);
int const kInitialPos = 40;
} // namespace

ScrollBar::ScrollBar(Window *pParent, int nStyle)
    : m_pScrollBar(nullptr), nLineSize(1), nPageSize(1), nDelta(0), eType(ScrollTypeNone), bTracking(false),
      nTrackPos(0), nLastPos(0)
{
    ImpSetParent(pParent);
    InitWindowBeforeCreate();
    CreateScrollBar(pParent ? pParent->GetPCWnd() : nullptr, nStyle);
    InitWindowAfterCreate(m_pScrollBar, true);
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->AddScrollBar(this);
}

ScrollBar::~ScrollBar()
{
    // Out of the scroll-bar map before the window goes.
    if (WinMsgRouter *router = GlGetPWinMsgRouter())
        router->RemoveScrollBar(this);
}

void ScrollBar::CreateScrollBar(CWnd *pParent, int nStyle)
{
    unsigned long style = WS_CHILD | WS_VISIBLE;
    if (nStyle & 0x1)
        style |= WS_BORDER;
    if (nStyle & 0x2000)
        style |= 3;
    if (nStyle & 0x1000)
        style |= 2;
    KSData *data = GetPKSData();
    int const width = data ? MulDiv(16, data->m_nLogPixelsX, 96) : 16;
    RECT const rect{0, 0, width, 100};
    m_pScrollBar = new ZnScrollBar;
    m_pScrollBar->Create(style, rect, pParent, kScrollBarId);

    if (!SameRange(aRange, kInitialRange)) {
        aRange = kInitialRange;
        m_pScrollBar->SetScrollRange(aRange.Min(), aRange.Max(), false);
        nLastPos = ControlPos();
    }
    if (ControlPos() != kInitialPos)
        m_pScrollBar->SetScrollPos(kInitialPos, true);
    nLineSize = nPageSize = 1;
    nDelta = 0;
    eType = ScrollTypeNone;
    bTracking = false;
    nTrackPos = nLastPos = 0;
}

void ScrollBar::ChangeBackgroundTexture(Texture const &rTexture)
{
    Control::ChangeBackgroundTexture(rTexture);
    if (m_pScrollBar)
        m_pScrollBar->SetBackColor(rTexture.GetColor(this));
}

bool ScrollBar::OwnPaintingAllowed() const
{
    return false; // the platform control paints itself
}

void ScrollBar::Scroll()
{
    aScrollHdl.Call(this);
}

void ScrollBar::EndScroll()
{
    aEndScrollHdl.Call(this);
}

int ScrollBar::ControlPos() const
{
    return m_pScrollBar ? m_pScrollBar->GetScrollPos() : 0;
}

int ScrollBar::GetThumbPos() const
{
    return bTracking ? nTrackPos : ControlPos();
}

void ScrollBar::ChangeThumbPos(int nPos)
{
    if (m_pScrollBar && nPos != ControlPos())
        m_pScrollBar->SetScrollPos(nPos, true);
    nLastPos = nTrackPos = nPos;
}

void ScrollBar::ChangeRange(Range const &rRange)
{
    if (SameRange(rRange, aRange))
        return;
    aRange = rRange;
    if (m_pScrollBar)
        m_pScrollBar->SetScrollRange(aRange.Min(), aRange.Max(), false);
    nLastPos = GetThumbPos();
}

void ScrollBar::StepBy(int nStep, ScrollType eStepType)
{
    nDelta = nStep;
    eType = eStepType;
    ChangeThumbPos(GetThumbPos() + nDelta);
    Scroll();
    nDelta = 0;
    eType = ScrollTypeNone;
}

bool ScrollBar::ProcessScroll(unsigned int, unsigned __int64 wParam, __int64)
{
    unsigned const code = static_cast<unsigned>(wParam & 0xFFFF);
    int const pos = static_cast<short>((wParam >> 16) & 0xFFFF);
    int const cur = GetThumbPos();
    // Steps never leave the range: the last one covers the rest.
    auto down = [&](int size) { return cur + size > aRange.Max() ? aRange.Max() - cur : size; };
    auto up = [&](int size) { return cur - size < aRange.Min() ? aRange.Min() - cur : -size; };
    switch (code) {
    case SB_LINEUP:
        StepBy(up(nLineSize), ScrollTypeLineUp);
        return true;
    case SB_LINEDOWN:
        StepBy(down(nLineSize), ScrollTypeLineDown);
        return true;
    case SB_PAGEUP:
        StepBy(up(nPageSize), ScrollTypePageUp);
        return true;
    case SB_PAGEDOWN:
        StepBy(down(nPageSize), ScrollTypePageDown);
        return true;
    case SB_THUMBPOSITION:
        nDelta = pos - nLastPos;
        eType = ScrollTypeDrag;
        nLastPos = pos;
        ChangeThumbPos(pos);
        Scroll();
        nDelta = 0;
        eType = ScrollTypeNone;
        return true;
    case SB_THUMBTRACK:
        // The platform control stays where it is while the thumb is dragged.
        nDelta = pos - nLastPos;
        eType = ScrollTypeDrag;
        nLastPos = nTrackPos = pos;
        bTracking = true;
        Scroll();
        nDelta = 0;
        eType = ScrollTypeNone;
        return true;
    case SB_ENDSCROLL:
        EndScroll();
        bTracking = false;
        nDelta = 0;
        nTrackPos = 0;
        nLastPos = ControlPos();
        return true;
    default: // top, bottom and unknown codes are left to the parent
        return false;
    }
}
