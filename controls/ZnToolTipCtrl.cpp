#include "controls/ZnToolTipCtrl.h"

#include "graphics/Color.h"
#include "graphics/ColorName.h"
#include "graphics/OutputDevice.h"
#include "mfc/CDC.h"
#include "text/SString.h"

IMPLEMENT_DYNAMIC(ZnToolTipCtrl, CMFCToolTipCtrl)

ZnToolTipCtrl::ZnToolTipCtrl()
    : m_fScalarX(0.0f), m_fScalarY(0.0f), m_bDrawBitmap(false), m_bFixedSize(false), m_bTransparent(false)
{
    CMFCToolTipInfo params(false, true, true, false, true, true, 1, 200, COLORREF(-1), COLORREF(-1), COLORREF(-1),
                           COLORREF(-1));
    SetParams(&params);
}

ZnToolTipCtrl::~ZnToolTipCtrl() = default;

CSize ZnToolTipCtrl::GetIconSize()
{
    if (!m_bDrawBitmap)
        return CSize(0, 0);
    if (m_bFixedSize)
        return CSize(FixedWidth + 10, FixedHeight + 10);
    Size const s = m_aBitmap.GetSizePixel();
    return CSize(s.Width() + 10, s.Height() + 10);
}

bool ZnToolTipCtrl::OnDrawIcon(CDC *pDC, CRect rectImage)
{
    if (!m_bDrawBitmap || !pDC || !pDC->m_hDC)
        return false;
    Size const own = m_aBitmap.GetSizePixel();
    Size const area = m_bFixedSize ? Size(FixedWidth, FixedHeight) : own;
    OutputDevice on(pDC->m_hDC);
    on.DrawBitmap(Point(rectImage.left, rectImage.top), area, m_aBitmap);
    if (m_fScalarX == 0.0f && m_fScalarY == 0.0f)
        return true;
    int const x = static_cast<int>(rectImage.left + m_fScalarX * area.Width());
    int const y = static_cast<int>(rectImage.top + m_fScalarY * area.Height());
    // Arms of four on each side; the point itself stays visible.
    Color const yellow(ColorNameYellow);
    for (int d = 1; d <= 4; ++d) {
        on.DrawPixel(Point(x, y - d), yellow);
        on.DrawPixel(Point(x, y + d), yellow);
        on.DrawPixel(Point(x - d, y), yellow);
        on.DrawPixel(Point(x + d, y), yellow);
    }
    return true;
}

void ZnToolTipCtrl::SetBitmap(Bitmap aBitmap, bool bFixedSize)
{
    m_aBitmap = aBitmap;
    m_bFixedSize = bFixedSize;
}

void ZnToolTipCtrl::EnableDrawBitmap(bool bOn)
{
    m_bDrawBitmap = bOn;
    m_fScalarX = 0.0f;
}

void ZnToolTipCtrl::SetText(SString const &)
{
    // The texts belong to the tools; the owning ToolTip sets them there.
}
