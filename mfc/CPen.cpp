#include "mfc/CPen.h"

IMPLEMENT_DYNAMIC(CPen, CGdiObject)

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor)
{
    CreatePen(nPenStyle, nWidth, crColor);
}

bool CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    return !m_hObject && Attach(::CreatePen(nPenStyle, nWidth, crColor));
}

bool CPen::CreatePenIndirect(LOGPEN const *lpLogPen)
{
    return lpLogPen && !m_hObject && Attach(::CreatePenIndirect(lpLogPen));
}

int CPen::GetLogPen(LOGPEN *pLogPen) const
{
    return GetObject(sizeof(LOGPEN), pLogPen);
}
