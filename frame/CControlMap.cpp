#include "frame/CControlMap.h"

CControlMap::CControlMap() = default;
