#pragma once
#include "mfc/CButton.h"

// The control library's button: the platform button, whose look the
// library's own wrapper adjusts.
class KSAPI CBCGPButton : public CButton
{
    DECLARE_DYNAMIC(CBCGPButton)
public:
    CBCGPButton() = default;
};
