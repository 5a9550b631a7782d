#pragma once
#include "controls/Static.h"
#include "graphics/Bitmap.h"
#include "graphics/Color.h"

// A picture control: its bitmap unscaled at its top left corner on the
// button face colour. A GDI+ image shows flattened onto magenta.
class KSAPI FixedBitmap : public Static
{
public:
    FixedBitmap(Window *pParent, int nStyle);

    // Stores the bitmap; the control repaints only when it is another one.
    virtual void SetBitmap(Bitmap const &rBitmap);
    void Paint(CRectangle const &rRect) override;

protected:
    // The bitmap with the colour around it and the position of its top left
    // corner; repaints when any of them changes.
    void SetBitmap(Bitmap const &rBitmap, Color const &rBack, int nX, int nY);

    Bitmap m_aBitmap;
    Color m_aBack;
    int m_nX;
    int m_nY;
};
