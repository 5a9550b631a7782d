#pragma once
#include "mfc/CWnd.h"

// The platform edit control as a window object.
class KSAPI CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)

public:
    CEdit() = default;
    bool Create(unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd, unsigned int nID);
};
