#include "mfc/CStatic.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)

bool CStatic::Create(char const *lpszText, unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd,
                     unsigned int nID)
{
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}
