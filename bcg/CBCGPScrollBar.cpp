#include "bcg/CBCGPScrollBar.h"

IMPLEMENT_DYNAMIC(CBCGPScrollBar, CScrollBar)
