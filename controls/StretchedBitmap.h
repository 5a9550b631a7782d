#pragma once
#include "controls/FixedBitmap.h"

// A picture control whose bitmap fills the whole control, stretched.
class KSAPI StretchedBitmap : public FixedBitmap
{
public:
    StretchedBitmap(Window *pParent, int nStyle);

    void Paint(CRectangle const &rRect) override;
};
