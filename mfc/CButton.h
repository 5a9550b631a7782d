#pragma once
#include "mfc/CWnd.h"

// The platform button control as a window object.
class KSAPI CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)
public:
    CButton() = default;
    bool Create(char const *lpszCaption, unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd,
                unsigned int nID);
    int GetCheck() const;
    void SetCheck(int nCheck);
    unsigned int GetState() const;
};
