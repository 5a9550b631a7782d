#include "controls/ZnButton.h"
#include "controls/Button.h"

bool ZnButton::OnChildDrawItem(DRAWITEMSTRUCT *lpDrawItemStruct)
{
    if (!m_pButton)
        return false;
    m_pButton->DrawButtonFace(lpDrawItemStruct);
    return true;
}
