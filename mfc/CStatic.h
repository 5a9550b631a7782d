#pragma once
#include "mfc/CWnd.h"

// The platform static control as a window object.
class KSAPI CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic() = default;
    bool Create(char const *lpszText, unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd,
                unsigned int nID = 0xFFFF);
};
