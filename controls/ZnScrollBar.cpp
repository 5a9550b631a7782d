#include "controls/ZnScrollBar.h"

bool ZnScrollBar::OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult)
{
    if (message == WM_CTLCOLORSCROLLBAR && m_aBack.Answer(wParam, pResult))
        return true;
    return CBCGPScrollBar::OnChildNotify(message, wParam, lParam, pResult);
}
