#pragma once
#include "mfc/CScrollBar.h"

// The control library's scroll bar: the platform control, whose look the
// library's own wrapper adjusts.
class KSAPI CBCGPScrollBar : public CScrollBar
{
    DECLARE_DYNAMIC(CBCGPScrollBar)
public:
    CBCGPScrollBar() = default;
};
