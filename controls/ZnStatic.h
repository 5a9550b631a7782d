#pragma once
#include "mfc/CStatic.h"

class Static;

// The window object of a Static, with the way back to it.
class KSAPI ZnStatic : public CStatic
{
public:
    explicit ZnStatic(Static *pStatic) : m_pStatic(pStatic) {}
    Static *GetStatic() const { return m_pStatic; }
    // The library paints its static texts itself, in their own WM_PAINT.
    bool OnChildDrawItem(DRAWITEMSTRUCT *) override { return m_pStatic != nullptr; }

private:
    Static *m_pStatic;
};
