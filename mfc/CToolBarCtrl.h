#pragma once
#include "mfc/CWnd.h"

#include <commctrl.h>

// The platform tool-bar control as a window object.
class KSAPI CToolBarCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolBarCtrl)
public:
    CToolBarCtrl() = default;
    bool Create(unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd, unsigned int nID);

    int GetButtonCount() const;
    bool AddButtons(int nCount, TBBUTTON const *pButtons);
    bool EnableButton(int nID, bool bEnable);
    bool IsButtonEnabled(int nID) const;
    // Index of the button, or -1.
    int CommandToIndex(unsigned int nID) const;
    bool GetButtonInfo(int nID, TBBUTTONINFOA *pInfo) const;
    bool SetButtonInfo(int nID, TBBUTTONINFOA const *pInfo);
    HIMAGELIST SetImageList(HIMAGELIST hList);
    int AddStrings(char const *lpszStrings);
    void AutoSize();
};
