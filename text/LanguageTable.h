#pragma once
// LanguageTable: the names of days and months in one language, the texts of
// the standard buttons and, optionally, the language's own rules for case
// and comparison of 8-bit text. International works on a copy of one of
// these; the tables themselves live in International's language registry.
#include "frame/Kestrel5Api.h"
#include "text/CharSet.h"
#include "text/SString.h"

// Identifiers follow the platform's locale identifiers, so that the user's
// default locale finds its table directly. Other values are legal: an
// application registers its own tables under any identifier.
enum LanguageType : unsigned int
{
    LanguageSystem = 0, // the operating system's user locale
    LanguageEnglish = 9,
    LanguageEnglishUS = 1033,
    LanguageEnglishUK = 2057,
    LanguageEnglishAustralia = 3081,
    LanguageEnglishCanada = 4105,
    LanguageEnglishNewZealand = 5129,
    LanguageEnglishIreland = 6153,
    LanguageGerman = 1031,
    LanguageGermanSwiss = 2055,
    LanguageGermanLuxembourg = 4103,
    LanguageFrench = 1036,
    LanguageFrenchBelgian = 2060,
    LanguageFrenchCanadian = 3084,
    LanguageFrenchSwiss = 4108,
    LanguageDontKnow = 255
};

// The text functions a language may bring. Each receives the text and the
// character set it is in (never CharSetSystem: that is resolved first). The
// tests answer non-zero when every byte passes; Compare answers CompEqual,
// CompGreater (1) when a sorts before b, CompLess (2) when a sorts after b.
using IntlCaseFn = void (*)(SString &rText, CharSet eSet);
using IntlTestFn = int (*)(SString const &rText, CharSet eSet);
using IntlCompareFn = StringCompare (*)(SString const &a, SString const &b, CharSet eSet);

struct KSAPI LanguageTable
{
    // English names and button texts, no text functions (the library's own
    // rules apply), identifier LanguageDontKnow.
    LanguageTable();

    bool operator==(LanguageTable const &other) const;
    bool operator!=(LanguageTable const &other) const { return !(*this == other); }

    unsigned int m_nReserved;
    LanguageType m_eLanguage;
    IntlCaseFn m_pfnToUpper;
    IntlCaseFn m_pfnToLower;
    IntlTestFn m_pfnIsUpper;
    IntlTestFn m_pfnIsLower;
    IntlTestFn m_pfnIsAlpha;
    IntlTestFn m_pfnIsNumeric;
    IntlTestFn m_pfnIsAlphaNumeric;
    IntlCompareFn m_pfnCompare;
    SString m_aDayText[7]; // Monday first
    SString m_aAbbrevDayText[7];
    SString m_aMonthText[12]; // January first
    SString m_aAbbrevMonthText[12];
    SString m_aOKButtonText;
    SString m_aCancelButtonText;
    SString m_aHelpButtonText;
    SString m_aExtraText; // free for the application; the library never reads it
};

// Fills rTable with the library's names and texts for the language; false
// (and rTable untouched) when the library has none for it.
KSAPI bool ImpGetBuiltInLanguage(LanguageType language, LanguageTable &rTable);

// The table of the user's default locale, under the identifier
// LanguageSystem: the platform's day and month names, the library's button
// texts for that language (English when it has none), and the platform's
// character functions for the Windows set as text functions.
KSAPI void ImpGetSystemLanguage(LanguageTable &rTable);
