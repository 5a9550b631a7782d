#include "mfc/CBitmap.h"
#include "mfc/AfxWin.h"

IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

bool CBitmap::CreateBitmap(int nWidth, int nHeight, unsigned int nPlanes, unsigned int nBitcount, void const *lpBits)
{
    return !m_hObject && Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

bool CBitmap::CreateCompatibleBitmap(HDC hDC, int nWidth, int nHeight)
{
    return hDC && !m_hObject && Attach(::CreateCompatibleBitmap(hDC, nWidth, nHeight));
}

bool CBitmap::LoadBitmap(unsigned int nIDResource)
{
    return !m_hObject &&
           Attach(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource), IMAGE_BITMAP, 0, 0, 0));
}

int CBitmap::GetBitmap(BITMAP *pBitMap) const
{
    return GetObject(sizeof(BITMAP), pBitMap);
}

SIZE CBitmap::GetBitmapDimension() const
{
    SIZE s{0, 0};
    if (m_hObject)
        GetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), &s);
    return s;
}
