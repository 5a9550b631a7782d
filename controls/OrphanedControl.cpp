#include "controls/OrphanedControl.h"

#include "mfc/CWnd.h"

#include <windows.h>

unsigned int OrphanedControl::DestroyMessage()
{
    static UINT const message = RegisterWindowMessageA("Kestrel5 orphaned control destroy");
    return message;
}

void OrphanedControl::Orphan(HWND hWnd)
{
    if (hWnd) {
        ::ShowWindow(hWnd, SW_HIDE);
        ::PostMessageA(hWnd, DestroyMessage(), 0, 0);
    }
}

bool OrphanedControl::Handle(CWnd &rWnd, unsigned int nMessage, bool bOrphan, int nDepth)
{
    if (nMessage != DestroyMessage() || !bOrphan)
        return false;
    if (nDepth > 0)
        ::PostMessageA(rWnd.m_hWnd, DestroyMessage(), 0, 0);
    else
        rWnd.DestroyWindow(); // the control's PostNcDestroy deletes its object
    return true;
}
