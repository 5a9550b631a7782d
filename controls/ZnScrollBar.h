#pragma once
#include "bcg/CBCGPScrollBar.h"

// The window object of a ScrollBar: the control library's scroll bar with a
// background brush of its own.
class KSAPI ZnScrollBar : public CBCGPScrollBar
{
public:
    ZnScrollBar() : m_hBackBrush(nullptr), m_bBackBrushSet(false), m_nBackColor(0) {}
    ~ZnScrollBar() override;

    // From now on the control answers its colour request with a brush of
    // this colour.
    void SetBackColor(unsigned long nColor);
    bool OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;

    HBRUSH m_hBackBrush;
    bool m_bBackBrushSet;
    unsigned long m_nBackColor;
};
