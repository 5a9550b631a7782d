#include "text/CountryTable.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

// One run of pattern letters (d, M or y in either case) with the literal
// text that follows it up to the next run.
struct PatternField
{
    char kind; // 'd', 'm' or 'y'
    int run;
    std::string sep;
};

char FieldKind(char c)
{
    switch (c) {
    case 'd':
    case 'D':
        return 'd';
    case 'm':
    case 'M':
        return 'm';
    case 'y':
    case 'Y':
        return 'y';
    default:
        return 0;
    }
}

// Splits a pattern into its runs. Text before the first run has nowhere to
// go in a country table and is dropped; quoted text is literal, and '' inside
// quotes is one quote. At most 16 runs are kept, which no real pattern reaches.
int SplitPattern(char const *p, PatternField *fields, int max)
{
    int n = 0;
    std::string lead;
    auto literal = [&](char c) {
        if (n)
            fields[n - 1].sep += c;
    };
    while (*p) {
        char const c = *p;
        if (c == '\'') {
            ++p;
            while (*p) {
                if (*p == '\'') {
                    if (p[1] != '\'')
                        break;
                    ++p;
                }
                literal(*p++);
            }
            if (*p)
                ++p;
            continue;
        }
        char const k = FieldKind(c);
        if (!k) {
            literal(c);
            ++p;
            continue;
        }
        int run = 0;
        while (FieldKind(*p) == k) {
            ++run;
            ++p;
        }
        if (n == max) // nowhere to keep it; its text is dropped with it
            continue;
        fields[n].kind = k;
        fields[n].run = run;
        fields[n].sep.clear();
        ++n;
    }
    return n;
}

DateFormat OrderOf(char first)
{
    return first == 'y' ? DateFormatYMD : first == 'm' ? DateFormatMDY : DateFormatDMY;
}

// Reads one profile key; false when the key is absent. The default handed to
// the platform is a byte no setting contains, so that an absent key and an
// empty one can be told apart.
bool ReadKey(char const *section, char const *file, char const *key, unsigned room, std::string &out)
{
    char buf[64];
    char const absent[] = "\x01";
    if (room + 1 > sizeof buf)
        room = sizeof buf - 1;
    DWORD const n = file ? GetPrivateProfileStringA(section, key, absent, buf, room + 1, file)
                         : GetProfileStringA(section, key, absent, buf, room + 1);
    if (n == 1 && buf[0] == '\x01')
        return false;
    out.assign(buf, n);
    return true;
}

int ReadInt(char const *section, char const *file, char const *key, int current)
{
    return int(file ? GetPrivateProfileIntA(section, key, current, file) : GetProfileIntA(section, key, current));
}

// The library's own settings per country, in the profile's notation so that
// they go through the same reader as the system's settings.
struct BuiltInCountry
{
    CountryType id;
    char const *shortDate;
    char const *longDate;
    char dateSep;
    bool clock24;
    char timeSep;
    char time100Sep;
    bool timeLeadingZero;
    char const *am;
    char const *pm;
    char thousandSep;
    char decimalSep;
    unsigned short currPositive;
    unsigned short currNegative;
    char const *currSymbol;
    unsigned short currDigits;
    char currZero;
    char listSep;
};

// Currency symbols are those of the time these identifiers were fixed; texts
// are in the Windows character set.
constexpr BuiltInCountry s_aCountries[] = {
    {CountryBelgium, "dd/MM/yyyy", "dddd d MMMM yyyy", '/', true, ':', ',', true, "", "", '.', ',', 3, 8, "BEF", 2, '0', ';'},
    {CountryCanada, "dd/MM/yyyy", "MMMM d, yyyy", '/', false, ':', '.', false, "AM", "PM", ',', '.', 0, 1, "$", 2, '0', ','},
    {CountrySwitzerland, "dd.MM.yyyy", "dddd, d. MMMM yyyy", '.', true, ':', '.', true, "", "", '\'', '.', 2, 2, "SFr.", 2, '-', ';'},
    {CountryAustralia, "d/MM/yyyy", "dddd, d MMMM yyyy", '/', false, ':', '.', false, "AM", "PM", ',', '.', 0, 1, "$", 2, '0', ','},
    {CountryAustria, "dd.MM.yyyy", "dddd, dd. MMMM yyyy", '.', true, ':', ',', true, "", "", '.', ',', 2, 9, "S", 2, '0', ';'},
    {CountryBelgiumDutch, "d/MM/yyyy", "dddd d MMMM yyyy", '/', true, ':', ',', true, "", "", '.', ',', 3, 8, "BEF", 2, '0', ';'},
    {CountryCanadaEnglish, "dd/MM/yyyy", "MMMM d, yyyy", '/', false, ':', '.', false, "AM", "PM", ',', '.', 0, 1, "$", 2, '0', ','},
    {CountryDenmark, "dd-MM-yyyy", "d. MMMM yyyy", '-', true, ':', ',', true, "", "", '.', ',', 2, 9, "kr", 2, '0', ';'},
    {CountryFinland, "d.M.yyyy", "d. MMMM yyyy", '.', true, '.', ',', false, "", "", ' ', ',', 3, 8, "mk", 2, '0', ';'},
    {CountryFrance, "dd/MM/yyyy", "dddd d MMMM yyyy", '/', true, ':', ',', true, "", "", ' ', ',', 3, 8, "F", 2, '0', ';'},
    {CountryGermany, "dd.MM.yyyy", "dddd, d. MMMM yyyy", '.', true, ':', ',', true, "", "", '.', ',', 3, 8, "DM", 2, '0', ';'},
    {CountryIceland, "d.M.yyyy", "d. MMMM yyyy", '.', true, ':', ',', true, "", "", '.', ',', 3, 8, "kr.", 0, '0', ';'},
    {CountryIreland, "dd/MM/yyyy", "d MMMM yyyy", '/', true, ':', '.', true, "", "", ',', '.', 0, 1, "IR\xA3", 2, '0', ','},
    {CountryItaly, "dd/MM/yyyy", "dddd d MMMM yyyy", '/', true, '.', ',', true, "", "", '.', ',', 2, 9, "L.", 0, '0', ';'},
    {CountryNetherlands, "d-M-yyyy", "dddd d MMMM yyyy", '-', true, ':', ',', true, "", "", '.', ',', 2, 11, "fl", 2, '0', ';'},
    {CountryNewZealand, "d/MM/yyyy", "dddd, d MMMM yyyy", '/', false, ':', '.', false, "a.m.", "p.m.", ',', '.', 0, 1, "$", 2, '0', ','},
    {CountryNorway, "dd.MM.yyyy", "d. MMMM yyyy", '.', true, ':', ',', true, "", "", ' ', ',', 2, 9, "kr", 2, '0', ';'},
    {CountryPortugal, "dd-MM-yyyy", "dddd, d' de 'MMMM' de 'yyyy", '-', true, ':', ',', true, "", "", '.', ',', 3, 8, "Esc.", 2, '0', ';'},
    {CountrySpain, "dd/MM/yyyy", "dddd, d' de 'MMMM' de 'yyyy", '/', true, ':', ',', true, "", "", '.', ',', 3, 8, "Pts", 0, '0', ';'},
    {CountrySweden, "yyyy-MM-dd", "d MMMM yyyy", '-', true, '.', ',', true, "", "", ' ', ',', 3, 8, "kr", 2, '0', ';'},
    {CountrySwitzerlandGerman, "dd.MM.yyyy", "dddd, d. MMMM yyyy", '.', true, ':', '.', true, "", "", '\'', '.', 2, 2, "SFr.", 2, '-', ';'},
    {CountryUnitedKingdom, "dd/MM/yyyy", "dd MMMM yyyy", '/', true, ':', '.', true, "", "", ',', '.', 0, 1, "\xA3", 2, '0', ','},
    {CountryUSA, "MM/dd/yyyy", "dddd, MMMM d, yyyy", '/', false, ':', '.', false, "AM", "PM", ',', '.', 0, 0, "$", 2, '0', ','},
    {CountryBelgiumFrench, "dd/MM/yyyy", "dddd d MMMM yyyy", '/', true, ':', ',', true, "", "", '.', ',', 3, 8, "BEF", 2, '0', ';'},
    {CountryCanadaFrench, "yyyy-MM-dd", "d MMMM yyyy", '-', true, ':', ',', true, "", "", ' ', ',', 3, 8, "$", 2, '0', ';'},
    {CountrySwitzerlandFrench, "dd.MM.yyyy", "dddd, d. MMMM yyyy", '.', true, ':', '.', true, "", "", '\'', '.', 2, 2, "SFr.", 2, '-', ';'},
    {CountrySwitzerlandItalian, "dd.MM.yyyy", "dddd, d. MMMM yyyy", '.', true, ':', '.', true, "", "", '\'', '.', 2, 2, "SFr.", 2, '-', ';'},
};

struct DiallingCode
{
    int code;
    CountryType country;
};

constexpr DiallingCode s_aDiallingCodes[] = {
    {1, CountryUSA},          {2, CountryCanadaFrench},  {31, CountryNetherlands},
    {32, CountryBelgiumFrench}, {33, CountryFrance},     {34, CountrySpain},
    {39, CountryItaly},       {41, CountrySwitzerland},  {43, CountryAustria},
    {44, CountryUnitedKingdom}, {45, CountryDenmark},    {46, CountrySweden},
    {47, CountryNorway},      {49, CountryGermany},      {61, CountryAustralia},
    {82, CountrySouthKorea},  {351, CountryPortugal},    {353, CountryIreland},
    {354, CountryIceland},    {358, CountryFinland},
};

} // namespace

CountryTable::CountryTable()
    : m_eCountry(CountryDontKnow), m_eDateFormat(DateFormatMDY), m_cDateSep('/'), m_bDateDayLeadingZero(1),
      m_bDateMonthLeadingZero(1), m_bDateCentury(1), m_eLongDateFormat(DateFormatMDY),
      m_eLongDateDayOfWeekFormat(DayOfWeekNone), m_bLongDateDayLeadingZero(1), m_eLongDateMonthFormat(MonthNumber),
      m_bLongDateCentury(1), m_bTimeFormat24(0), m_cTimeSep(':'), m_cTime100SecSep('.'), m_bTimeLeadingZero(1),
      m_cNumThousandSep(','), m_bNumThousandSep(1), m_cNumDecimalSep('.'), m_bNumLeadingZero(1), m_nNumDigits(2),
      m_bNumTrailingZeros(1), m_nCurrPositiveFormat(0), m_nCurrNegativeFormat(0), m_nCurrDigits(2),
      m_cCurrZeroChar('0'), m_cListSep(',')
{
}

bool CountryTable::operator==(CountryTable const &o) const
{
    return m_eCountry == o.m_eCountry && m_eDateFormat == o.m_eDateFormat && m_cDateSep == o.m_cDateSep &&
           m_bDateDayLeadingZero == o.m_bDateDayLeadingZero && m_bDateMonthLeadingZero == o.m_bDateMonthLeadingZero &&
           m_bDateCentury == o.m_bDateCentury && m_eLongDateFormat == o.m_eLongDateFormat &&
           m_eLongDateDayOfWeekFormat == o.m_eLongDateDayOfWeekFormat &&
           m_aLongDateDayOfWeekSep == o.m_aLongDateDayOfWeekSep &&
           m_bLongDateDayLeadingZero == o.m_bLongDateDayLeadingZero && m_aLongDateDaySep == o.m_aLongDateDaySep &&
           m_eLongDateMonthFormat == o.m_eLongDateMonthFormat && m_aLongDateMonthSep == o.m_aLongDateMonthSep &&
           m_bLongDateCentury == o.m_bLongDateCentury && m_aLongDateYearSep == o.m_aLongDateYearSep &&
           m_bTimeFormat24 == o.m_bTimeFormat24 && m_cTimeSep == o.m_cTimeSep &&
           m_cTime100SecSep == o.m_cTime100SecSep && m_bTimeLeadingZero == o.m_bTimeLeadingZero &&
           m_aTimeAM == o.m_aTimeAM && m_aTimePM == o.m_aTimePM && m_cNumThousandSep == o.m_cNumThousandSep &&
           m_bNumThousandSep == o.m_bNumThousandSep && m_cNumDecimalSep == o.m_cNumDecimalSep &&
           m_bNumLeadingZero == o.m_bNumLeadingZero && m_nNumDigits == o.m_nNumDigits &&
           m_bNumTrailingZeros == o.m_bNumTrailingZeros && m_nCurrPositiveFormat == o.m_nCurrPositiveFormat &&
           m_nCurrNegativeFormat == o.m_nCurrNegativeFormat && m_aCurrSymbol == o.m_aCurrSymbol &&
           m_nCurrDigits == o.m_nCurrDigits && m_cCurrZeroChar == o.m_cCurrZeroChar && m_cListSep == o.m_cListSep;
}

void CountryTable::ApplyDatePatterns(char const *shortDate, char const *longDate)
{
    constexpr int MAX_FIELDS = 16;
    PatternField f[MAX_FIELDS];
    if (shortDate) {
        int const n = SplitPattern(shortDate, f, MAX_FIELDS);
        if (n)
            m_eDateFormat = OrderOf(f[0].kind);
        m_bDateDayLeadingZero = m_bDateMonthLeadingZero = m_bDateCentury = 0;
        for (int i = 0; i < n; ++i) {
            if (f[i].kind == 'd' && f[i].run >= 2)
                m_bDateDayLeadingZero = 1;
            else if (f[i].kind == 'm' && f[i].run >= 2)
                m_bDateMonthLeadingZero = 1;
            else if (f[i].kind == 'y' && f[i].run >= 4)
                m_bDateCentury = 1;
        }
        if (n > 1 && !f[0].sep.empty())
            m_cDateSep = f[0].sep[0];
    }
    if (longDate) {
        int const n = SplitPattern(longDate, f, MAX_FIELDS);
        m_eLongDateDayOfWeekFormat = DayOfWeekNone;
        m_aLongDateDayOfWeekSep.Clear();
        m_aLongDateDaySep.Clear();
        m_aLongDateMonthSep.Clear();
        m_aLongDateYearSep.Clear();
        m_bLongDateDayLeadingZero = 0;
        m_eLongDateMonthFormat = MonthNumber;
        m_bLongDateCentury = 0;
        char first = 0;
        bool day = false, month = false, year = false; // the first run of each counts
        for (int i = 0; i < n; ++i) {
            SString const sep(f[i].sep.c_str());
            if (f[i].kind == 'd' && f[i].run >= 3) {
                if (m_eLongDateDayOfWeekFormat == DayOfWeekNone) {
                    m_eLongDateDayOfWeekFormat = f[i].run >= 4 ? DayOfWeekFull : DayOfWeekAbbrev;
                    m_aLongDateDayOfWeekSep = sep;
                }
                continue;
            }
            bool &seen = f[i].kind == 'd' ? day : f[i].kind == 'm' ? month : year;
            if (seen)
                continue;
            seen = true;
            if (!first)
                first = f[i].kind;
            if (f[i].kind == 'd') {
                m_bLongDateDayLeadingZero = f[i].run >= 2;
                m_aLongDateDaySep = sep;
            } else if (f[i].kind == 'm') {
                m_eLongDateMonthFormat = f[i].run >= 4   ? MonthFullName
                                         : f[i].run == 3 ? MonthAbbrevName
                                         : f[i].run == 2 ? MonthNumberTwoDigits
                                                         : MonthNumber;
                m_aLongDateMonthSep = sep;
            } else {
                m_bLongDateCentury = f[i].run >= 4;
                m_aLongDateYearSep = sep;
            }
        }
        if (first)
            m_eLongDateFormat = OrderOf(first);
    }
}

void CountryTable::ReadProfile(char const *section, char const *file)
{
    if (!section)
        return;
    std::string s, l;
    bool const hasShort = ReadKey(section, file, "sShortDate", 40, s);
    bool const hasLong = ReadKey(section, file, "sLongDate", 40, l);
    ApplyDatePatterns(hasShort ? s.c_str() : nullptr, hasLong ? l.c_str() : nullptr);
    std::string v;
    // The pattern is what the platform itself formats with; an sDate left
    // over from an older setting must not contradict it.
    if (!hasShort && ReadKey(section, file, "sDate", 1, v) && !v.empty())
        m_cDateSep = v[0];

    m_bTimeFormat24 = ReadInt(section, file, "iTime", m_bTimeFormat24) != 0;
    if (ReadKey(section, file, "sTime", 1, v) && !v.empty())
        m_cTimeSep = v[0];
    m_bTimeLeadingZero = ReadInt(section, file, "iTLZero", m_bTimeLeadingZero) != 0;
    if (ReadKey(section, file, "s1159", 40, v))
        m_aTimeAM = v.c_str();
    if (ReadKey(section, file, "s2359", 40, v))
        m_aTimePM = v.c_str();

    if (ReadKey(section, file, "sThousand", 1, v)) {
        m_bNumThousandSep = !v.empty();
        if (!v.empty())
            m_cNumThousandSep = v[0];
    }
    if (ReadKey(section, file, "sDecimal", 1, v) && !v.empty())
        m_cNumDecimalSep = v[0];
    m_bNumLeadingZero = ReadInt(section, file, "iLzero", m_bNumLeadingZero) != 0;
    m_nNumDigits = static_cast<unsigned short>(ReadInt(section, file, "iDigits", m_nNumDigits));

    m_nCurrPositiveFormat = static_cast<unsigned short>(ReadInt(section, file, "iCurrency", m_nCurrPositiveFormat));
    m_nCurrNegativeFormat = static_cast<unsigned short>(ReadInt(section, file, "iNegCurr", m_nCurrNegativeFormat));
    if (ReadKey(section, file, "sCurrency", 40, v))
        m_aCurrSymbol = v.c_str();
    m_nCurrDigits = static_cast<unsigned short>(ReadInt(section, file, "iCurrDigits", m_nCurrDigits));
    if (ReadKey(section, file, "sList", 1, v) && !v.empty())
        m_cListSep = v[0];
}

bool ImpGetBuiltInCountry(CountryType country, CountryTable &rTable)
{
    for (BuiltInCountry const &c : s_aCountries) {
        if (c.id != country)
            continue;
        CountryTable t;
        t.m_eCountry = country;
        t.ApplyDatePatterns(c.shortDate, c.longDate);
        t.m_cDateSep = c.dateSep;
        t.m_bTimeFormat24 = c.clock24;
        t.m_cTimeSep = c.timeSep;
        t.m_cTime100SecSep = c.time100Sep;
        t.m_bTimeLeadingZero = c.timeLeadingZero;
        t.m_aTimeAM = c.am;
        t.m_aTimePM = c.pm;
        t.m_cNumThousandSep = c.thousandSep;
        t.m_cNumDecimalSep = c.decimalSep;
        t.m_nCurrPositiveFormat = c.currPositive;
        t.m_nCurrNegativeFormat = c.currNegative;
        t.m_aCurrSymbol = c.currSymbol;
        t.m_nCurrDigits = c.currDigits;
        t.m_cCurrZeroChar = c.currZero;
        t.m_cListSep = c.listSep;
        rTable = t;
        return true;
    }
    return false;
}

CountryType ImpCountryFromDiallingCode(int code)
{
    for (DiallingCode const &d : s_aDiallingCodes)
        if (d.code == code)
            return d.country;
    return CountryDontKnow;
}

void ImpGetSystemCountry(CountryTable &rTable)
{
    CountryTable t;
    t.ReadProfile();
    t.m_eCountry = CountrySystem;
    rTable = t;
}
