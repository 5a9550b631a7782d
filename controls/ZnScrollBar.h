#pragma once
#include "bcg/CBCGPScrollBar.h"

// The window object of a ScrollBar: the control library's scroll bar with a
// background brush of its own.
class KSAPI ZnScrollBar : public CBCGPScrollBar
{
public:
    ZnScrollBar() : m_hBackBrush(nullptr), m_bBackBrushSet(false) {}
    ~ZnScrollBar() override;

    HBRUSH m_hBackBrush;
    bool m_bBackBrushSet;
};
