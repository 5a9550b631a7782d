#include "mfc/CEdit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

bool CEdit::Create(unsigned long dwStyle, RECT const &rect, CWnd *pParentWnd, unsigned int nID)
{
    return CWnd::Create("EDIT", "", dwStyle, rect, pParentWnd, nID);
}
