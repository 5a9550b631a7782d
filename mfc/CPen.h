#pragma once
#include "mfc/CGdiObject.h"

class KSAPI CPen : public CGdiObject
{
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor);
    bool CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    bool CreatePenIndirect(LOGPEN const *lpLogPen);
    int GetLogPen(LOGPEN *pLogPen) const;
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};
