#include "controls/ZnEdit.h"

bool ZnEdit::OnChildNotify(unsigned int message, WPARAM wParam, LPARAM lParam, LRESULT *pResult)
{
    // A read-only field asks as a static text does.
    if ((message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) && m_aBack.Answer(wParam, pResult))
        return true;
    return CEdit::OnChildNotify(message, wParam, lParam, pResult);
}
