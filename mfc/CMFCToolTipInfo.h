#pragma once
#include "frame/Kestrel5Api.h"

#include <windef.h>

// The look of a framework-drawn tool tip: twelve values in the framework's
// order. A colour of (COLORREF)-1 leaves the platform's own.
class CMFCToolTipInfo
{
public:
    CMFCToolTipInfo() = default;
    CMFCToolTipInfo(bool bBoldLabel, bool bDrawDescription, bool bDrawIcon, bool bRoundedCorners,
                    bool bDrawSeparator, bool bVislManagerTheme, int nGradientAngle, int nMaxDescrWidth,
                    COLORREF clrFill, COLORREF clrFillGradient, COLORREF clrText, COLORREF clrBorder)
        : m_bBoldLabel(bBoldLabel), m_bDrawDescription(bDrawDescription), m_bDrawIcon(bDrawIcon),
          m_bRoundedCorners(bRoundedCorners), m_bDrawSeparator(bDrawSeparator),
          m_bVislManagerTheme(bVislManagerTheme), m_nGradientAngle(nGradientAngle),
          m_nMaxDescrWidth(nMaxDescrWidth), m_clrFill(clrFill), m_clrFillGradient(clrFillGradient),
          m_clrText(clrText), m_clrBorder(clrBorder)
    {
    }

    bool m_bBoldLabel = false;
    bool m_bDrawDescription = true;
    bool m_bDrawIcon = true;
    bool m_bRoundedCorners = false;
    bool m_bDrawSeparator = false;
    bool m_bVislManagerTheme = false;
    int m_nGradientAngle = -1;
    int m_nMaxDescrWidth = 200;
    COLORREF m_clrFill = COLORREF(-1);
    COLORREF m_clrFillGradient = COLORREF(-1);
    COLORREF m_clrText = COLORREF(-1);
    COLORREF m_clrBorder = COLORREF(-1);
};
