#include "controls/ZnScrollBar.h"

ZnScrollBar::~ZnScrollBar()
{
    if (m_hBackBrush)
        DeleteObject(m_hBackBrush);
}
