#include "graphics/Point.h"

#include <windows.h>
#include <gdiplus.h>

Point::operator Gdiplus::Point() const { return Gdiplus::Point(m_nX, m_nY); }
