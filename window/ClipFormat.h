#pragma once
// One entry of the exchange-format registry: the library's number of a
// data format and the platform clipboard format it stands for.
#include "text/SString.h"

struct ClipFormat
{
    SString aName;
    unsigned long nNumber;
    unsigned long nPlatform;
    SString aSecondName;
};
