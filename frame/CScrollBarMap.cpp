#include "frame/CScrollBarMap.h"

CScrollBarMap::CScrollBarMap() = default;
