#pragma once
// CountryTable: how one country writes dates, times, numbers and currency
// amounts. International formats with a copy of one of these; the tables
// themselves live in International's country registry.
#include "frame/Kestrel5Api.h"
#include "text/SString.h"

// Identifiers of the country tables the library knows. Other values are
// legal: an application registers its own tables under any identifier.
enum CountryType : unsigned int
{
    CountrySystem = 0, // the operating system's settings
    CountryBelgium = 3,
    CountryCanada = 5,
    CountrySwitzerland = 22,
    CountryAustralia = 1025,
    CountryAustria = 1026,
    CountryBelgiumDutch = 1027,
    CountryCanadaEnglish = 1029,
    CountryDenmark = 1030,
    CountryFinland = 1031,
    CountryFrance = 1032,
    CountryGermany = 1033,
    CountryIceland = 1034,
    CountryIreland = 1035,
    CountryItaly = 1036,
    CountryNetherlands = 1039,
    CountryNewZealand = 1040,
    CountryNorway = 1041,
    CountryPortugal = 1042,
    CountrySouthKorea = 1043, // a dialling code maps to it; no table of its own
    CountrySpain = 1044,
    CountrySweden = 1045,
    CountrySwitzerlandGerman = 1046,
    CountryUnitedKingdom = 1048,
    CountryUSA = 1049,
    CountryBelgiumFrench = 2051,
    CountryCanadaFrench = 2053,
    CountrySwitzerlandFrench = 2070,
    CountrySwitzerlandItalian = 3094,
    CountryDontKnow = 255 // no table, or the system's own country that has none
};

// Order of the parts of a date.
enum DateFormat : unsigned int
{
    DateFormatMDY = 0,
    DateFormatDMY = 1,
    DateFormatYMD = 2
};

enum DayOfWeekFormat : unsigned int
{
    DayOfWeekNone = 0,
    DayOfWeekAbbrev = 1,
    DayOfWeekFull = 2
};

enum MonthFormat : unsigned int
{
    MonthNumber = 0,
    MonthNumberTwoDigits = 1,
    MonthAbbrevName = 2,
    MonthFullName = 3
};

struct KSAPI CountryTable
{
    // The neutral settings every table starts from: month-day-year with '/',
    // 12-hour clock, ',' grouping and '.' decimals, two decimals.
    CountryTable();

    bool operator==(CountryTable const &other) const;
    bool operator!=(CountryTable const &other) const { return !(*this == other); }

    // Takes the settings from a profile section in the form the operating
    // system keeps in its "intl" section (sShortDate, sLongDate, iTime, sTime,
    // iTLZero, s1159, s2359, sThousand, sDecimal, iLzero, iDigits, iCurrency,
    // iNegCurr, sCurrency, iCurrDigits, sList; sDate when present). Without a
    // file the operating system's own profile is read. A key that is missing
    // keeps the setting the table had; the country identifier is untouched.
    void ReadProfile(char const *section = "intl", char const *file = nullptr);

    // Takes the date settings from patterns in the profile's notation
    // (d, dd, ddd, dddd; M to MMMM; yy, yyyy; literal text in single quotes).
    // A null pattern leaves its settings alone.
    void ApplyDatePatterns(char const *shortDate, char const *longDate);

    CountryType m_eCountry;
    DateFormat m_eDateFormat;
    char m_cDateSep;
    int m_bDateDayLeadingZero;
    int m_bDateMonthLeadingZero;
    int m_bDateCentury;
    DateFormat m_eLongDateFormat;
    DayOfWeekFormat m_eLongDateDayOfWeekFormat;
    SString m_aLongDateDayOfWeekSep;
    int m_bLongDateDayLeadingZero;
    SString m_aLongDateDaySep;
    MonthFormat m_eLongDateMonthFormat;
    SString m_aLongDateMonthSep;
    int m_bLongDateCentury;
    SString m_aLongDateYearSep;
    int m_bTimeFormat24; // 1: 24-hour clock
    char m_cTimeSep;
    char m_cTime100SecSep;
    int m_bTimeLeadingZero;
    SString m_aTimeAM;
    SString m_aTimePM;
    char m_cNumThousandSep;
    int m_bNumThousandSep;
    char m_cNumDecimalSep;
    int m_bNumLeadingZero;
    unsigned short m_nNumDigits;
    int m_bNumTrailingZeros;
    unsigned short m_nCurrPositiveFormat;
    unsigned short m_nCurrNegativeFormat;
    SString m_aCurrSymbol;
    unsigned short m_nCurrDigits;
    char m_cCurrZeroChar;
    char m_cListSep;
};

// Fills rTable with the library's own settings for the country; false (and
// rTable untouched) when the library has none for it.
KSAPI bool ImpGetBuiltInCountry(CountryType country, CountryTable &rTable);

// The country of an international dialling code as the operating system's
// "iCountry" setting gives it; CountryDontKnow for a code without one.
KSAPI CountryType ImpCountryFromDiallingCode(int code);

// The neutral settings overlaid with the operating system's "intl" profile
// section, under the identifier CountrySystem.
KSAPI void ImpGetSystemCountry(CountryTable &rTable);
