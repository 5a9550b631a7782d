#pragma once
#include "frame/Kestrel5Api.h"

class CMenu;
class CWnd;

// The command-update request: the framework asks, for one command, whether
// its menu item or button is enabled, checked or named, by calling these on
// an object that addresses the item (a menu entry, or a control in
// m_pOther).
class KSAPI CCmdUI
{
public:
    CCmdUI();
    virtual ~CCmdUI() = default;

    virtual void Enable(int bOn = 1);
    virtual void SetCheck(int nCheck = 1); // 0 clear, 1 checked, 2 indeterminate
    virtual void SetRadio(int bOn = 1);
    virtual void SetText(char const *lpszText);

    unsigned int m_nID;
    unsigned int m_nIndex;
    CMenu *m_pMenu;
    CWnd *m_pOther;
    int m_bEnableChanged;
    int m_bContinueRouting;
    unsigned int m_nIndexMax;
};
