#include "graphics/Size.h"

SString Size::GetStr() const { return SString::F("WID=%d, HGT=%d", m_nWidth, m_nHeight); }
