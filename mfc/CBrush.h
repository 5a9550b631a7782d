#pragma once
#include "mfc/CGdiObject.h"

class CBitmap;

class KSAPI CBrush : public CGdiObject
{
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor);
    bool CreateSolidBrush(COLORREF crColor);
    bool CreateBrushIndirect(LOGBRUSH const *lpLogBrush);
    bool CreateHatchBrush(int nIndex, COLORREF crColor);
    bool CreatePatternBrush(CBitmap const *pBitmap);
    // A pattern from a packed device-independent bitmap in global memory,
    // which stays the caller's.
    bool CreateDIBPatternBrush(HGLOBAL hPackedDIB, unsigned int nUsage);
    bool CreateSysColorBrush(int nIndex);
    int GetLogBrush(LOGBRUSH *pLogBrush) const;
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};
