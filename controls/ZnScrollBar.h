#pragma once
#include "bcg/CBCGPScrollBar.h"
#include "controls/ControlBackBrush.h"

// The window object of a ScrollBar: the control library's scroll bar with a
// background brush of its own.
class KSAPI ZnScrollBar : public CBCGPScrollBar
{
public:
    ZnScrollBar() = default;
    // From now on the control answers its colour request with a brush of
    // this colour.
    void SetBackColor(unsigned long nColor) { m_aBack.Set(nColor, m_hWnd); }
    bool IsBackBrushSet() const { return m_aBack.IsSet(); }
    bool OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;

private:
    ControlBackBrush m_aBack;
};
