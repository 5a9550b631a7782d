#include "bcg/CBCGPButton.h"

IMPLEMENT_DYNAMIC(CBCGPButton, CButton)
