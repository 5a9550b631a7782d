#pragma once
// The two constant conversion tables of the character sets, written by
// tools/gen-charset-tables.py into text/CharSetTables.cpp. Private to the
// library: callers reach them through ImpCharToChar16 and ImpChar16ToChar.

// Pivot codes 0x80 to 0x2AF are the rows of the second table.
constexpr unsigned CHARSET_PIVOT_FIRST = 0x80;
constexpr unsigned CHARSET_PIVOT_LAST = 0x2AF;

// [byte - 128][set - 1]: the pivot code of the byte's character; below 128 it
// is an ASCII sign standing in for a character no other set has.
extern unsigned short const g_aCharSetToPivot[128][8];
// [pivot - 0x80][set - 1]: the byte of that character, 0 where the set lacks it.
extern unsigned char const g_aPivotToCharSet[CHARSET_PIVOT_LAST - CHARSET_PIVOT_FIRST + 1][8];
