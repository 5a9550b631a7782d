#include "text/CharSet.h"

#include "text/CharSetTables.h"

namespace {

// Column of a set in both tables; anything that is not a real set reads as
// the Windows set, so that no value can index outside the tables.
unsigned Column(CharSet set)
{
    unsigned v = unsigned(set);
    return v >= 1 && v <= 8 ? v - 1 : 0;
}

bool IsDosColumn(unsigned col)
{
    return col >= unsigned(CharSetDos437) - 1;
}

constexpr unsigned char SECTION_DOS_BYTE = 0x15;
constexpr unsigned SECTION_PIVOT = 0xA7;

// One 256-byte map for every ordered pair of sets, made once from the two
// tables, so that converting a text costs one look-up per byte.
struct PairMaps
{
    unsigned char map[8][8][256];

    PairMaps()
    {
        for (unsigned f = 0; f < 8; ++f)
            for (unsigned t = 0; t < 8; ++t)
                Fill(map[f][t], f, t);
    }

    static void Fill(unsigned char *m, unsigned f, unsigned t)
    {
        for (unsigned b = 0; b < 128; ++b)
            m[b] = (unsigned char)b;
        if (IsDosColumn(f) && f != t) {
            unsigned char s = g_aPivotToCharSet[SECTION_PIVOT - CHARSET_PIVOT_FIRST][t];
            m[SECTION_DOS_BYTE] = s ? s : SECTION_DOS_BYTE;
        }
        for (unsigned b = 128; b < 256; ++b) {
            unsigned p = g_aCharSetToPivot[b - 128][f];
            unsigned char r = 0;
            if (p < CHARSET_PIVOT_FIRST)
                r = (unsigned char)p; // an ASCII stand-in
            else if (p <= CHARSET_PIVOT_LAST)
                r = g_aPivotToCharSet[p - CHARSET_PIVOT_FIRST][t];
            m[b] = r ? r : (unsigned char)b;
        }
    }
};

unsigned char const *PairMap(unsigned f, unsigned t)
{
    static PairMaps const maps;
    return maps.map[f][t];
}

} // namespace

CharSet GetSystemCharSet()
{
    return CharSetAnsi;
}

void ImpStringConvert(char *text, CharSet from, CharSet to)
{
    if (!text)
        return;
    unsigned char const *m = PairMap(Column(from), Column(to));
    for (auto *p = reinterpret_cast<unsigned char *>(text); *p; ++p)
        *p = m[*p];
}

unsigned short ImpCharToChar16(char c, CharSet set)
{
    auto b = (unsigned char)c;
    if (b < 128)
        return b; // ASCII is its own pivot code
    return g_aCharSetToPivot[b - 128][Column(set)];
}

char ImpChar16ToChar(unsigned short code, CharSet set)
{
    if (code < CHARSET_PIVOT_FIRST || code > CHARSET_PIVOT_LAST)
        return '?';
    return char(g_aPivotToCharSet[code - CHARSET_PIVOT_FIRST][Column(set)]);
}
