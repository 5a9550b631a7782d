#pragma once
#include "mfc/CGdiObject.h"

class KSAPI CBitmap : public CGdiObject
{
    DECLARE_DYNAMIC(CBitmap)
public:
    CBitmap() = default;
    bool CreateBitmap(int nWidth, int nHeight, unsigned int nPlanes, unsigned int nBitcount, void const *lpBits);
    bool CreateCompatibleBitmap(HDC hDC, int nWidth, int nHeight);
    bool LoadBitmap(unsigned int nIDResource);
    int GetBitmap(BITMAP *pBitMap) const;
    SIZE GetBitmapDimension() const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};
