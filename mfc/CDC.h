#pragma once
#include "frame/Kestrel5Api.h"
#include "mfc/CObject.h"

#include <windows.h>

class CGdiObject;

// A device context as an object. A context it created or was given through
// Attach is deleted with it; Detach hands it back.
class KSAPI CDC : public CObject
{
    DECLARE_DYNAMIC(CDC)
public:
    CDC() : m_hDC(nullptr), m_hAttribDC(nullptr) {}
    ~CDC() override;
    CDC(CDC const &) = delete;
    CDC &operator=(CDC const &) = delete;

    HDC m_hDC;
    HDC m_hAttribDC;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    bool Attach(HDC hDC);
    HDC Detach();
    bool CreateCompatibleDC(CDC const *pDC);
    bool CreateDC(char const *lpszDriverName, char const *lpszDeviceName, char const *lpszOutput,
                  DEVMODEA const *lpInitData);
    bool DeleteDC();

    HGDIOBJ SelectObject(CGdiObject *pObject);
    HGDIOBJ SelectObject(HGDIOBJ hObject);
    HGDIOBJ SelectStockObject(int nIndex);
    int SaveDC();
    bool RestoreDC(int nSavedDC);
    int GetDeviceCaps(int nIndex) const;

    COLORREF SetTextColor(COLORREF crColor);
    COLORREF SetBkColor(COLORREF crColor);
    int SetBkMode(int nBkMode);
    bool MoveTo(int x, int y);
    bool LineTo(int x, int y);
    bool Rectangle(int x1, int y1, int x2, int y2);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    bool TextOut(int x, int y, char const *lpszString, int nCount);
    bool BitBlt(int x, int y, int nWidth, int nHeight, CDC const *pSrcDC, int xSrc, int ySrc, unsigned long dwRop);

    int StartDoc(DOCINFOA const *lpDocInfo);
    int EndDoc();
    int AbortDoc();
    int StartPage();
    int EndPage();
};
