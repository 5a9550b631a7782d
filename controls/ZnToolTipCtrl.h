#pragma once
#include "graphics/Bitmap.h"
#include "mfc/CMFCToolTipCtrl.h"

class SString;

// The library's tool-tip control: a bitmap beside the text, optionally in a
// fixed 128 x 64 area, with a yellow cross marking a point on it (the point
// given as fractions of the drawn width and height).
class KSAPI ZnToolTipCtrl : public CMFCToolTipCtrl
{
    DECLARE_DYNAMIC(ZnToolTipCtrl)
public:
    ZnToolTipCtrl();
    ~ZnToolTipCtrl() override;

    CSize GetIconSize() override;
    bool OnDrawIcon(CDC *pDC, CRect rectImage) override;

    void SetBitmap(Bitmap aBitmap, bool bFixedSize);
    // Switching the bitmap on or off puts the cross back to the left edge.
    void EnableDrawBitmap(bool bOn);
    void SetScalarX(float fX) { m_fScalarX = fX; }
    void SetScalarY(float fY) { m_fScalarY = fY; }
    void SetTransparent(bool bOn) { m_bTransparent = bOn; }
    void SetText(SString const &rText);

    Bitmap const &GetBitmap() const { return m_aBitmap; }
    float GetScalarX() const { return m_fScalarX; }
    float GetScalarY() const { return m_fScalarY; }
    bool IsDrawBitmap() const { return m_bDrawBitmap; }
    bool IsFixedSize() const { return m_bFixedSize; }
    bool IsTransparent() const { return m_bTransparent; }

    // The fixed area the bitmap is shown in with the fixed-size flag.
    static constexpr int FixedWidth = 128;
    static constexpr int FixedHeight = 64;

private:
    Bitmap m_aBitmap;
    float m_fScalarX;
    float m_fScalarY;
    bool m_bDrawBitmap;
    bool m_bFixedSize;
    bool m_bTransparent;
};
