#pragma once
// The single-byte character sets that 8-bit text is converted between, and
// the conversion through a 16-bit pivot code that every set maps into.
#include "frame/Kestrel5Api.h"

enum CharSet
{
    CharSetNone = 0, // text is never converted from or to it
    CharSetAnsi = 1, // Windows 1252; also stands in for any value outside 1 to 8
    CharSetMac = 2,  // Mac OS Roman
    CharSetDos437 = 3,
    CharSetDos850 = 4,
    CharSetDos860 = 5,
    CharSetDos861 = 6,
    CharSetDos863 = 7,
    CharSetDos865 = 8,
    CharSetSystem = 9, // whatever GetSystemCharSet answers
    CharSetKeep = 10   // text is never converted from or to it
};

KSAPI CharSet GetSystemCharSet();

// Converts NUL-terminated text in place; its length never changes. A byte the
// target set lacks is left as it was. Both sets must be real ones (1 to 9).
KSAPI void ImpStringConvert(char *text, CharSet from, CharSet to);

// The pivot code of a byte of 128 or above in the set.
KSAPI unsigned short ImpCharToChar16(char c, CharSet set);

// The byte of a pivot code 128 to 0x2AF in the set, 0 where the set lacks it;
// '?' for any other code.
KSAPI char ImpChar16ToChar(unsigned short code, CharSet set);
