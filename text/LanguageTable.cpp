#include "text/LanguageTable.h"

#include <windows.h>

#include <string>

namespace {

struct Names
{
    char const *days[7];
    char const *abbrevDays[7];
    char const *months[12];
    char const *abbrevMonths[12];
    char const *ok;
    char const *cancel;
    char const *help;
};

// Texts in the Windows character set.
constexpr Names s_english = {
    {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"},
    {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
    {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October", "November",
     "December"},
    {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
    "OK",
    "Cancel",
    "Help"};

constexpr Names s_german = {
    {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"},
    {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"},
    {"Januar", "Februar", "M\xE4rz", "April", "Mai", "Juni", "Juli", "August", "September", "Oktober", "November",
     "Dezember"},
    {"Jan", "Feb", "M\xE4r", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"},
    "OK",
    "Abbrechen",
    "Hilfe"};

constexpr Names s_french = {
    {"lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi", "dimanche"},
    {"lun.", "mar.", "mer.", "jeu.", "ven.", "sam.", "dim."},
    {"janvier", "f\xE9vrier", "mars", "avril", "mai", "juin", "juillet", "ao\xFBt", "septembre", "octobre",
     "novembre", "d\xE9" "cembre"},
    {"janv.", "f\xE9vr.", "mars", "avr.", "mai", "juin", "juil.", "ao\xFBt", "sept.", "oct.", "nov.", "d\xE9" "c."},
    "OK",
    "Annuler",
    "Aide"};

struct BuiltInLanguage
{
    LanguageType id;
    Names const *names;
};

constexpr BuiltInLanguage s_aLanguages[] = {
    {LanguageEnglish, &s_english},         {LanguageEnglishUS, &s_english},
    {LanguageEnglishUK, &s_english},       {LanguageEnglishAustralia, &s_english},
    {LanguageEnglishCanada, &s_english},   {LanguageEnglishNewZealand, &s_english},
    {LanguageEnglishIreland, &s_english},  {LanguageGerman, &s_german},
    {LanguageGermanSwiss, &s_german},      {LanguageGermanLuxembourg, &s_german},
    {LanguageFrench, &s_french},           {LanguageFrenchBelgian, &s_french},
    {LanguageFrenchCanadian, &s_french},   {LanguageFrenchSwiss, &s_french},
};

void SetNames(LanguageTable &t, Names const &n)
{
    for (int i = 0; i < 7; ++i) {
        t.m_aDayText[i] = n.days[i];
        t.m_aAbbrevDayText[i] = n.abbrevDays[i];
    }
    for (int i = 0; i < 12; ++i) {
        t.m_aMonthText[i] = n.months[i];
        t.m_aAbbrevMonthText[i] = n.abbrevMonths[i];
    }
    t.m_aOKButtonText = n.ok;
    t.m_aCancelButtonText = n.cancel;
    t.m_aHelpButtonText = n.help;
}

// The platform's character functions know the Windows set only: the text
// goes there and, when it was changed, back again.
bool IsRealSet(CharSet s)
{
    return s >= CharSetAnsi && s <= CharSetSystem;
}

std::string ToAnsi(SString const &text, CharSet set)
{
    SString t(text);
    if (IsRealSet(set) && set != CharSetAnsi)
        t.Convert(set, CharSetAnsi);
    return std::string(t.GetStr(), unsigned(t.Len()));
}

void SysChangeCase(SString &rText, CharSet set, bool upper)
{
    std::string a = ToAnsi(rText, set);
    if (a.empty())
        return;
    if (upper)
        CharUpperBuffA(a.data(), DWORD(a.size()));
    else
        CharLowerBuffA(a.data(), DWORD(a.size()));
    SString r(a.c_str());
    if (IsRealSet(set) && set != CharSetAnsi)
        r.Convert(CharSetAnsi, set);
    rText = r;
}

void SysToUpper(SString &rText, CharSet set) { SysChangeCase(rText, set, true); }
void SysToLower(SString &rText, CharSet set) { SysChangeCase(rText, set, false); }

template <class Pred> int SysEvery(SString const &text, CharSet set, Pred pred)
{
    for (char c : ToAnsi(text, set))
        if (!pred(c))
            return 0;
    return 1;
}

int SysIsUpper(SString const &t, CharSet s)
{
    return SysEvery(t, s, [](char c) { return !IsCharLowerA(c); });
}
int SysIsLower(SString const &t, CharSet s)
{
    return SysEvery(t, s, [](char c) { return !IsCharUpperA(c); });
}
int SysIsAlpha(SString const &t, CharSet s)
{
    return SysEvery(t, s, [](char c) { return IsCharAlphaA(c) != 0; });
}
int SysIsAlphaNumeric(SString const &t, CharSet s)
{
    return SysEvery(t, s, [](char c) { return IsCharAlphaNumericA(c) != 0; });
}

StringCompare SysCompare(SString const &a, SString const &b, CharSet s)
{
    int const r = lstrcmpA(ToAnsi(a, s).c_str(), ToAnsi(b, s).c_str());
    return r == 0 ? CompEqual : r < 0 ? CompGreater : CompLess;
}

// One locale text in the process's Windows code page; empty when the
// platform has none.
SString LocaleText(LCID lcid, LCTYPE type)
{
    char buf[128];
    int const n = GetLocaleInfoA(lcid, type | LOCALE_USE_CP_ACP, buf, int(sizeof buf));
    return n > 1 ? SString(buf) : SString();
}

} // namespace

LanguageTable::LanguageTable()
    : m_nReserved(0), m_eLanguage(LanguageDontKnow), m_pfnToUpper(nullptr), m_pfnToLower(nullptr),
      m_pfnIsUpper(nullptr), m_pfnIsLower(nullptr), m_pfnIsAlpha(nullptr), m_pfnIsNumeric(nullptr),
      m_pfnIsAlphaNumeric(nullptr), m_pfnCompare(nullptr)
{
    SetNames(*this, s_english);
}

bool LanguageTable::operator==(LanguageTable const &o) const
{
    if (m_nReserved != o.m_nReserved || m_eLanguage != o.m_eLanguage || m_pfnToUpper != o.m_pfnToUpper ||
        m_pfnToLower != o.m_pfnToLower || m_pfnIsUpper != o.m_pfnIsUpper || m_pfnIsLower != o.m_pfnIsLower ||
        m_pfnIsAlpha != o.m_pfnIsAlpha || m_pfnIsNumeric != o.m_pfnIsNumeric ||
        m_pfnIsAlphaNumeric != o.m_pfnIsAlphaNumeric || m_pfnCompare != o.m_pfnCompare)
        return false;
    for (int i = 0; i < 7; ++i)
        if (m_aDayText[i] != o.m_aDayText[i] || m_aAbbrevDayText[i] != o.m_aAbbrevDayText[i])
            return false;
    for (int i = 0; i < 12; ++i)
        if (m_aMonthText[i] != o.m_aMonthText[i] || m_aAbbrevMonthText[i] != o.m_aAbbrevMonthText[i])
            return false;
    return m_aOKButtonText == o.m_aOKButtonText && m_aCancelButtonText == o.m_aCancelButtonText &&
           m_aHelpButtonText == o.m_aHelpButtonText && m_aExtraText == o.m_aExtraText;
}

bool ImpGetBuiltInLanguage(LanguageType language, LanguageTable &rTable)
{
    for (BuiltInLanguage const &l : s_aLanguages) {
        if (l.id != language)
            continue;
        LanguageTable t;
        t.m_eLanguage = language;
        SetNames(t, *l.names);
        rTable = t;
        return true;
    }
    return false;
}

void ImpGetSystemLanguage(LanguageTable &rTable)
{
    LCID const lcid = GetUserDefaultLCID();
    LanguageTable t;
    // Button texts come from the library's table of the user's language (or
    // of its primary language); the platform has no such texts to ask for.
    if (!ImpGetBuiltInLanguage(LanguageType(lcid), t)) {
        unsigned const primary = PRIMARYLANGID(LANGIDFROMLCID(lcid));
        if (!ImpGetBuiltInLanguage(LanguageType(primary == LANG_GERMAN   ? LanguageGerman
                                                : primary == LANG_FRENCH ? LanguageFrench
                                                                         : LanguageEnglish),
                                   t))
            t = LanguageTable();
    }
    // The names are the platform's where it has every one of a kind, so that
    // the days never mix two languages.
    SString days[7], abbrevDays[7], months[12], abbrevMonths[12];
    bool haveDays = true, haveMonths = true;
    for (int i = 0; i < 7; ++i) {
        days[i] = LocaleText(lcid, LOCALE_SDAYNAME1 + LCTYPE(i));
        abbrevDays[i] = LocaleText(lcid, LOCALE_SABBREVDAYNAME1 + LCTYPE(i));
        haveDays = haveDays && !days[i].IsEmpty() && !abbrevDays[i].IsEmpty();
    }
    for (int i = 0; i < 12; ++i) {
        months[i] = LocaleText(lcid, LOCALE_SMONTHNAME1 + LCTYPE(i));
        abbrevMonths[i] = LocaleText(lcid, LOCALE_SABBREVMONTHNAME1 + LCTYPE(i));
        haveMonths = haveMonths && !months[i].IsEmpty() && !abbrevMonths[i].IsEmpty();
    }
    for (int i = 0; haveDays && i < 7; ++i) {
        t.m_aDayText[i] = days[i];
        t.m_aAbbrevDayText[i] = abbrevDays[i];
    }
    for (int i = 0; haveMonths && i < 12; ++i) {
        t.m_aMonthText[i] = months[i];
        t.m_aAbbrevMonthText[i] = abbrevMonths[i];
    }
    t.m_eLanguage = LanguageSystem;
    t.m_pfnToUpper = SysToUpper;
    t.m_pfnToLower = SysToLower;
    t.m_pfnIsUpper = SysIsUpper;
    t.m_pfnIsLower = SysIsLower;
    t.m_pfnIsAlpha = SysIsAlpha;
    t.m_pfnIsNumeric = nullptr; // the platform has no ANSI digit test; the library's rule serves
    t.m_pfnIsAlphaNumeric = SysIsAlphaNumeric;
    t.m_pfnCompare = SysCompare;
    rTable = t;
}
