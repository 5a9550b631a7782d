#include "mfc/CFont.h"

IMPLEMENT_DYNAMIC(CFont, CGdiObject)

bool CFont::CreateFontIndirect(LOGFONTA const *lpLogFont)
{
    return lpLogFont && !m_hObject && Attach(::CreateFontIndirectA(lpLogFont));
}

bool CFont::CreatePointFont(int nPointSize, char const *lpszFaceName, HDC hDC)
{
    HDC dc = hDC ? hDC : ::GetDC(nullptr);
    int const dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (!hDC && dc)
        ::ReleaseDC(nullptr, dc);
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(nPointSize, dpi ? dpi : 96, 720);
    lf.lfCharSet = DEFAULT_CHARSET;
    if (lpszFaceName)
        lstrcpynA(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONTA *pLogFont) const
{
    return GetObject(sizeof(LOGFONTA), pLogFont);
}
