#include "mfc/CDC.h"
#include "mfc/CGdiObject.h"

IMPLEMENT_DYNAMIC(CDC, CObject)

CDC::~CDC()
{
    DeleteDC();
}

bool CDC::Attach(HDC hDC)
{
    if (!hDC || m_hDC)
        return false;
    m_hDC = m_hAttribDC = hDC;
    return true;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    return h;
}

bool CDC::CreateCompatibleDC(CDC const *pDC)
{
    return !m_hDC && Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
}

bool CDC::CreateDC(char const *lpszDriverName, char const *lpszDeviceName, char const *lpszOutput,
                   DEVMODEA const *lpInitData)
{
    return !m_hDC && Attach(::CreateDCA(lpszDriverName, lpszDeviceName, lpszOutput, lpInitData));
}

bool CDC::DeleteDC()
{
    if (!m_hDC)
        return false;
    return ::DeleteDC(Detach()) != FALSE;
}

HGDIOBJ CDC::SelectObject(CGdiObject *pObject)
{
    return pObject ? SelectObject(pObject->m_hObject) : nullptr;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject)
{
    return m_hDC && hObject ? ::SelectObject(m_hDC, hObject) : nullptr;
}

HGDIOBJ CDC::SelectStockObject(int nIndex)
{
    return SelectObject(::GetStockObject(nIndex));
}

int CDC::SaveDC()
{
    return m_hDC ? ::SaveDC(m_hDC) : 0;
}

bool CDC::RestoreDC(int nSavedDC)
{
    return m_hDC && ::RestoreDC(m_hDC, nSavedDC);
}

int CDC::GetDeviceCaps(int nIndex) const
{
    return m_hAttribDC ? ::GetDeviceCaps(m_hAttribDC, nIndex) : 0;
}

COLORREF CDC::SetTextColor(COLORREF crColor)
{
    return m_hDC ? ::SetTextColor(m_hDC, crColor) : CLR_INVALID;
}

COLORREF CDC::SetBkColor(COLORREF crColor)
{
    return m_hDC ? ::SetBkColor(m_hDC, crColor) : CLR_INVALID;
}

int CDC::SetBkMode(int nBkMode)
{
    return m_hDC ? ::SetBkMode(m_hDC, nBkMode) : 0;
}

bool CDC::MoveTo(int x, int y)
{
    return m_hDC && ::MoveToEx(m_hDC, x, y, nullptr);
}

bool CDC::LineTo(int x, int y)
{
    return m_hDC && ::LineTo(m_hDC, x, y);
}

bool CDC::Rectangle(int x1, int y1, int x2, int y2)
{
    return m_hDC && ::Rectangle(m_hDC, x1, y1, x2, y2);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    if (!m_hDC)
        return;
    // The background colour fills an opaque text run: no brush to make.
    COLORREF old = ::SetBkColor(m_hDC, clr);
    RECT r{x, y, x + cx, y + cy};
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

bool CDC::TextOut(int x, int y, char const *lpszString, int nCount)
{
    return m_hDC && lpszString && ::TextOutA(m_hDC, x, y, lpszString, nCount);
}

bool CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC const *pSrcDC, int xSrc, int ySrc, unsigned long dwRop)
{
    return m_hDC && ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
}

int CDC::StartDoc(DOCINFOA const *lpDocInfo)
{
    return m_hDC && lpDocInfo ? ::StartDocA(m_hDC, lpDocInfo) : -1;
}

int CDC::EndDoc()
{
    return m_hDC ? ::EndDoc(m_hDC) : -1;
}

int CDC::AbortDoc()
{
    return m_hDC ? ::AbortDoc(m_hDC) : -1;
}

int CDC::StartPage()
{
    return m_hDC ? ::StartPage(m_hDC) : -1;
}

int CDC::EndPage()
{
    return m_hDC ? ::EndPage(m_hDC) : -1;
}
