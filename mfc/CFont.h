#pragma once
#include "mfc/CGdiObject.h"

class KSAPI CFont : public CGdiObject
{
    DECLARE_DYNAMIC(CFont)
public:
    CFont() = default;
    bool CreateFontIndirect(LOGFONTA const *lpLogFont);
    // Height in tenths of a point for the screen (or the given device).
    bool CreatePointFont(int nPointSize, char const *lpszFaceName, HDC hDC = nullptr);
    int GetLogFont(LOGFONTA *pLogFont) const;
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};
