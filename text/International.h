#pragma once
// International: numbers, currency amounts, dates, times and durations the
// way one country writes them, day and month names and button texts in one
// language, and case and comparison of 8-bit text by that language's rules.
//
// An object works on its own copies of one country table and one language
// table, taken from two process-wide registries when it is made; copies of
// an object share those copies until one of them changes a setting.
#include "frame/Kestrel5Api.h"
#include "text/CharSet.h"
#include "text/CountryTable.h"
#include "text/Date.h"
#include "text/LanguageTable.h"
#include "text/SString.h"
#include "text/Time.h"

// The platform's national-language header turns GetDateFormat and
// GetTimeFormat into its own functions' names, which would rename two
// members here. It is included first, so that its include guard keeps the
// names undone for every header and source that comes after.
#include <windef.h>
#include <winbase.h>
#include <winnls.h>
#undef GetDateFormat
#undef GetTimeFormat

struct IntlData;
struct LocaleRegistry;

class KSAPI International
{
public:
    // The system's language and country (identifier 0).
    International();
    // An identifier without a table falls back to the system's, and when
    // even that is missing, to the neutral settings.
    International(CountryType eCountry, LanguageType eLanguage);
    International(International const &other);
    International &operator=(International const &other);
    ~International();

    // Equal settings, names and text functions; the identifiers count.
    int operator==(International const &other) const;
    int operator!=(International const &other) const { return !(*this == other); }

    // Formatting. A value is the number times 10^digits.
    SString GetNum(long value, unsigned short digits) const;
    SString GetNum(long value) const;
    SString GetCurr(long value) const;
    SString GetDate(Date const &date) const;
    SString GetLongDate(Date const &date) const;
    SString GetTime(Time const &time, int withSec = 1, int with100Sec = 0) const;
    SString GetDuration(Time const &time, int withSec = 1, int with100Sec = 0) const;

    // Names and texts. A day or month out of range answers an empty text,
    // and changing it changes nothing.
    SString const &GetDayText(DayOfWeek day) const;
    SString const &GetAbbrevDayText(DayOfWeek day) const;
    SString const &GetMonthText(unsigned short month) const; // 1 to 12
    SString const &GetAbbrevMonthText(unsigned short month) const;
    SString const &GetOKButtonText() const;
    SString const &GetCancelButtonText() const;
    SString const &GetHelpButtonText() const;
    SString ChangeDayText(DayOfWeek day, SString const &text);
    SString ChangeAbbrevDayText(DayOfWeek day, SString const &text);
    SString ChangeMonthText(unsigned short month, SString const &text);
    SString ChangeAbbrevMonthText(unsigned short month, SString const &text);
    SString ChangeOKButtonText(SString const &text);
    SString ChangeCancelButtonText(SString const &text);
    SString ChangeHelpButtonText(SString const &text);

    // Settings: each Change... returns the previous value.
    DateFormat GetDateFormat() const;
    DateFormat ChangeDateFormat(DateFormat format);
    char GetDateSep() const;
    char ChangeDateSep(char sep);
    int IsDateDayLeadingZero() const;
    int ChangeDateDayLeadingZero(int on);
    int IsDateMonthLeadingZero() const;
    int ChangeDateMonthLeadingZero(int on);
    int IsDateCentury() const;
    int ChangeDateCentury(int on);

    DateFormat GetLongDateFormat() const;
    DateFormat ChangeLongDateFormat(DateFormat format);
    DayOfWeekFormat GetLongDateDayOfWeekFormat() const;
    DayOfWeekFormat ChangeLongDateDayOfWeekFormat(DayOfWeekFormat format);
    SString const &GetLongDateDayOfWeekSep() const;
    SString ChangeLongDateDayOfWeekSep(SString const &sep);
    SString const &GetLongDateDaySep() const;
    SString ChangeLongDateDaySep(SString const &sep);
    int IsLongDateDayLeadingZero() const;
    int ChangeLongDateDayLeadingZero(int on);
    MonthFormat GetLongDateMonthFormat() const;
    MonthFormat ChangeLongDateMonthFormat(MonthFormat format);
    SString const &GetLongDateMonthSep() const;
    SString ChangeLongDateMonthSep(SString const &sep);
    SString const &GetLongDateYearSep() const;
    SString ChangeLongDateYearSep(SString const &sep);
    int IsLongDateCentury() const;
    int ChangeLongDateCentury(int on);

    int GetTimeFormat() const; // 1: 24-hour clock
    int ChangeTimeFormat(int clock24);
    char GetTimeSep() const;
    char ChangeTimeSep(char sep);
    char GetTime100SecSep() const;
    char ChangeTime100SecSep(char sep);
    int IsTimeLeadingZero() const;
    int ChangeTimeLeadingZero(int on);
    SString const &GetTimeAM() const;
    SString ChangeTimeAM(SString const &text);
    SString const &GetTimePM() const;
    SString ChangeTimePM(SString const &text);

    char GetNumThousandSep() const;
    char ChangeNumThousandSep(char sep);
    int IsNumThousandSep() const;
    int EnableNumThousandSep(int on);
    char GetNumDecimalSep() const;
    char ChangeNumDecimalSep(char sep);
    int IsNumLeadingZero() const;
    int ChangeNumLeadingZero(int on);
    unsigned short GetNumDigits() const;
    unsigned short ChangeNumDigits(unsigned short digits);
    int IsNumTrailingZeros() const;
    int ChangeNumTrailingZeros(int on);

    unsigned short GetCurrPositiveFormat() const;
    unsigned short ChangeCurrPositiveFormat(unsigned short format);
    unsigned short GetCurrNegativeFormat() const;
    unsigned short ChangeCurrNegativeFormat(unsigned short format);
    SString const &GetCurrSymbol() const;
    SString ChangeCurrSymbol(SString const &symbol);
    unsigned short GetCurrDigits() const;
    unsigned short ChangeCurrDigits(unsigned short digits);
    char GetCurrZeroChar() const;
    char ChangeCurrZeroChar(char c);

    char GetListSep() const;
    CountryType GetCountry() const;
    LanguageType GetLanguage() const;

    // The tables the object works on, for instance to register a changed copy.
    CountryTable const &GetCountryTable() const;
    LanguageTable const &GetLanguageTable() const;

    // Text functions. CharSetSystem stands for GetSystemCharSet(). The
    // language's own function is used where its table has one; otherwise the
    // library's rules for the Latin letters of the set apply. An empty text
    // passes every test.
    int IsAlpha(SString const &text, CharSet set) const;
    int IsAlphaNumeric(SString const &text, CharSet set) const;
    int IsNumeric(SString const &text, CharSet set) const;
    int IsLower(SString const &text, CharSet set) const; // no capital letter
    int IsUpper(SString const &text, CharSet set) const; // no small letter
    void ToLower(SString &text, CharSet set) const;
    void ToUpper(SString &text, CharSet set) const;
    SString Lower(SString const &text, CharSet set) const;
    SString Upper(SString const &text, CharSet set) const;
    // CompEqual; CompGreater (1) when a sorts before b; CompLess (2) when a
    // sorts after b.
    StringCompare Compare(SString const &a, SString const &b, CharSet set) const;

    // Registries. They are made on first use with the library's identifiers
    // and live until KSExit (or, without KSInit, until the library unloads).
    static unsigned short GetAvailableCountriesCount();
    static CountryType GetAvailableCountry(unsigned short index); // CountryDontKnow out of range
    static int IsCountryAvailable(CountryType country);
    static unsigned short GetAvailableLanguagesCount();
    static LanguageType GetAvailableLanguage(unsigned short index); // LanguageDontKnow out of range
    static int IsLanguageAvailable(LanguageType language);
    // Replaces the table of the identifier in the table, or adds it. Objects
    // made before keep the tables they copied.
    static void RegisterCountry(CountryTable const &table);
    static void RegisterLanguage(LanguageTable const &table);

    // For KSData, which holds the registries while it lives.
    static void ImpDeleteRegistry(LocaleRegistry *pRegistry);

private:
    // Gives the object tables of its own before a change.
    void MakeUnique();
    template <class T> T ChangeCountryField(T CountryTable::*field, T const &value);

    IntlData *m_pData;
};
