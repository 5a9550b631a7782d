#pragma once
#include "base/Range.h"
#include "frame/Kestrel5Api.h"
#include "frame/Link.h"
#include "window/Control.h"

class ZnScrollBar;

// The kind of scroll step being reported.
enum ScrollType
{
    ScrollTypeNone = 0,
    ScrollTypeLineUp = 1,
    ScrollTypeLineDown = 2,
    ScrollTypePageUp = 3,
    ScrollTypePageDown = 4,
    ScrollTypeDrag = 5
};

// A stand-alone scroll bar. Each step is reported through the scroll link,
// with its kind and distance readable during the call; the end of a scroll
// through the end-scroll link.
class KSAPI ScrollBar : public Control
{
public:
    ScrollBar(Window *pParent, int nStyle);
    ~ScrollBar() override;

    virtual void Scroll();
    virtual void EndScroll();
    // The control paints its track in the texture's colour.
    void ChangeBackgroundTexture(Texture const &rTexture) override;

    void ChangeScrollHdl(Link const &rLink) { aScrollHdl = rLink; }
    Link GetScrollHdl() const { return aScrollHdl; }
    void ChangeEndScrollHdl(Link const &rLink) { aEndScrollHdl = rLink; }
    Link GetEndScrollHdl() const { return aEndScrollHdl; }
    void ChangeRange(Range const &rRange);
    Range GetRange() const { return aRange; }
    void ChangeLineSize(int n) { nLineSize = n; }
    int GetLineSize() const { return nLineSize; }
    void ChangePageSize(int n) { nPageSize = n; }
    int GetPageSize() const { return nPageSize; }
    void ChangeThumbPos(int nPos);
    int GetThumbPos() const;
    // Meaningful inside the scroll link; 0 outside it.
    int GetDelta() const { return nDelta; }
    ScrollType GetType() const { return eType; }

private:
    friend class WinMsgRouter;

    bool OwnPaintingAllowed() const override;
    void CreateScrollBar(CWnd *pParent, int nStyle);
    bool ProcessScroll(unsigned int nMsg, unsigned __int64 wParam, __int64 lParam);
    int ControlPos() const;
    void StepBy(int nDelta, ScrollType eType);

    ZnScrollBar *m_pScrollBar;
    Link aScrollHdl;
    Link aEndScrollHdl;
    Range aRange;
    int nLineSize;
    int nPageSize;
    int nDelta;
    ScrollType eType;
    bool bTracking;
    int nTrackPos;
    int nLastPos;
};
